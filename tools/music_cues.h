// tools/music_cues.h — the moments of the demo's timeline that the soundtrack follows.
//
// Every time is demo-clock seconds, and the music starts with the clock, so a time is also a
// position in the file. The arrangement reads these names and nothing else, so a change of
// timing here moves the music with it.
#pragma once

namespace assets {
namespace cues {

// Scene one begins 0.2 s into the timeline; its own clock starts then.
constexpr double kSceneOneStart = 0.2;

// The black fade overlay of scene one: windows (start, end, fade-in, fade-out) in scene time.
struct FadeWindow {
    double start, end, fadeIn, fadeOut;
};
constexpr FadeWindow kBlackFades[] = {
    {0.0, 1.0, 0.0, 1.0}, {1.0, 5.5, 2.0, 0.0}, {5.5, 8.8, 0.0, 1.0}, {8.8, 12.5, 2.0, 0.0}, {12.5, 13.65, 0.0, 0.33},
};
constexpr int kBlackFadeCount = sizeof kBlackFades / sizeof kBlackFades[0];

// The two captions appear (scene time).
constexpr double kCaptionStarts[] = {2.5, 3.0};

// The black lifts for good and the first sprite flies (scene time 13.65): the beat comes in.
constexpr double kBeatIn = kSceneOneStart + 13.65;
// The object's turn (scene time 15 to 40).
constexpr double kTurnStart = kSceneOneStart + 15.0;
constexpr double kTurnEnd = kSceneOneStart + 40.0;
// Scene two: the cube cloud.
constexpr double kCloudStart = 50.0;
// The six noise flickers of scene two; each gets a hit.
constexpr double kFlickers[] = {52.1, 58.8, 65.5, 72.2, 79.0, 81.8};
constexpr int kFlickerCount = sizeof kFlickers / sizeof kFlickers[0];
// Scene four: the underwater cave.
constexpr double kCaveStart = 87.0;
// Scene three: the island under the open sky, with a white flash; the sea 15.3 s later with
// the second flash.
constexpr double kSkyStart = 112.3;
constexpr double kSecondFlash = kSkyStart + 15.3;
// The timeline's last 30 s are scene three's fade-out: the red veil closes within 4 s, then
// the credits roll to the end.
constexpr double kTimelineEnd = 200.0;
constexpr double kRedVeilStart = kTimelineEnd - 30.0;
constexpr double kCreditsStart = kRedVeilStart + 4.0;

// One tempo from the beat-in to the end: the first flicker falls exactly 20 bars after the
// beat-in, which puts the next three flickers and the cave on beats of the same grid too.
constexpr int kBeatsPerBar = 4;
constexpr double kBeatSeconds = (kFlickers[0] - kBeatIn) / (20 * kBeatsPerBar);
constexpr double kBarSeconds = kBeatSeconds * kBeatsPerBar;

// The piece runs a little past the timeline so the end never cuts into silence; the sound has
// faded out completely by the end of the timeline.
constexpr double kMusicSeconds = 206.0;
constexpr double kFadeOutStart = 188.0;
constexpr double kFadeOutEnd = 199.5;

}  // namespace cues
}  // namespace assets
