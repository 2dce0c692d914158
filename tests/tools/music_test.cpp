// The soundtrack: its cue table against the scenes' timings, the file's format and length,
// and the hits heard at the flicker moments; its loudness as mastered.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/shell.h"
#include "support/gl_test_context.h"
#include "support/run_command.h"
#include "tools/loudness.h"
#include "tools/music_cues.h"

namespace cues = assets::cues;

namespace {

std::vector<std::uint8_t> ReadMusic() {
    std::ifstream in(testing_support::TestAssetRoot() + "/DANE/Oblomar.mp3", std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Mp3Stream {
    int frames = 0;
    int bitRate = 0;      // kbit/s of the first frame; -1 when frames differ
    int sampleRate = 0;
    bool stereo = false;
    bool clean = true;    // every byte belongs to a frame
};

// Walks the MPEG-1 layer III frames from the start of the file.
Mp3Stream ReadFrames(const std::vector<std::uint8_t>& bytes) {
    static const int kBitRates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static const int kRates[4] = {44100, 48000, 32000, 0};
    Mp3Stream stream;
    std::size_t at = 0;
    while (at + 4 <= bytes.size()) {
        const std::uint8_t* h = bytes.data() + at;
        if (h[0] != 0xFF || (h[1] & 0xFE) != 0xFA) {   // sync, MPEG-1, layer III
            stream.clean = false;
            break;
        }
        const int bitRate = kBitRates[h[2] >> 4], rate = kRates[(h[2] >> 2) & 3];
        if (bitRate == 0 || rate == 0) {
            stream.clean = false;
            break;
        }
        if (stream.frames == 0) {
            stream.bitRate = bitRate;
            stream.sampleRate = rate;
            stream.stereo = (h[3] >> 6) != 3;
        } else if (bitRate != stream.bitRate || rate != stream.sampleRate) {
            stream.bitRate = -1;
        }
        at += static_cast<std::size_t>(144 * bitRate * 1000 / rate + ((h[2] >> 1) & 1));
        ++stream.frames;
    }
    if (at != bytes.size()) stream.clean = false;
    return stream;
}

// What `command` writes on stdout, as samples of type T; empty when it fails.
template <typename T>
std::vector<T> Decoded(const std::string& command) {
    std::string bytes;
    if (testing_support::RunCommand("{ " + command + " 2>/dev/null; }", bytes) != 0) return {};
    std::vector<T> samples(bytes.size() / sizeof(T));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(T));
    return samples;
}

// The decoded music as mono 16-bit samples at 44.1 kHz, through ffmpeg; empty without it.
std::vector<std::int16_t> DecodeMono(const std::string& path) {
    return Decoded<std::int16_t>("ffmpeg -v error -i '" + path + "' -f s16le -ac 1 -ar 44100 -");
}

// The decoded music from `from` seconds for `seconds`, as interleaved stereo floats at 44.1 kHz
// through ffmpeg; empty without it.
std::vector<float> DecodeStereo(const std::string& path, double from, double seconds) {
    return Decoded<float>("ffmpeg -v error -ss " + std::to_string(from) + " -t " + std::to_string(seconds) + " -i '" + path +
                          "' -f f32le -ac 2 -ar 44100 -");
}

}  // namespace

TEST(MusicCues, FollowTheScenesTimings) {
    SetSceneTimings();
    EXPECT_FLOAT_EQ(sceneOne.startTime, static_cast<float>(cues::kSceneOneStart));
    EXPECT_FLOAT_EQ(sceneTwo.startTime, static_cast<float>(cues::kCloudStart));
    EXPECT_FLOAT_EQ(sceneFour.startTime, static_cast<float>(cues::kCaveStart));
    EXPECT_FLOAT_EQ(sceneThree.startTime, static_cast<float>(cues::kSkyStart));
    EXPECT_FLOAT_EQ(sceneThree.endTime, static_cast<float>(cues::kTimelineEnd));
    EXPECT_FLOAT_EQ(sceneThree.endTime - sceneThree.fadeOutLength, static_cast<float>(cues::kRedVeilStart));

    // Scene one's black fades, first sprite and captions are in scene time.
    sceneOne.ScheduleObjects();
    ASSERT_EQ(sceneOne.fade.starts.size(), static_cast<std::size_t>(cues::kBlackFadeCount));
    for (int i = 0; i < cues::kBlackFadeCount; ++i) {
        EXPECT_FLOAT_EQ(sceneOne.fade.starts[i], static_cast<float>(cues::kBlackFades[i].start)) << i;
        EXPECT_FLOAT_EQ(sceneOne.fade.ends[i], static_cast<float>(cues::kBlackFades[i].end)) << i;
        EXPECT_FLOAT_EQ(sceneOne.fade.fadeIns[i], static_cast<float>(cues::kBlackFades[i].fadeIn)) << i;
        EXPECT_FLOAT_EQ(sceneOne.fade.fadeOuts[i], static_cast<float>(cues::kBlackFades[i].fadeOut)) << i;
    }
    EXPECT_FLOAT_EQ(sceneOne.sprites[0].startTime + sceneOne.startTime, static_cast<float>(cues::kBeatIn));
    EXPECT_FLOAT_EQ(sceneOne.fade.ends.back() + sceneOne.startTime, static_cast<float>(cues::kBeatIn));

    ASSERT_EQ(std::size(SceneTwo::kFlickerWindows), static_cast<std::size_t>(cues::kFlickerCount));
    for (int i = 0; i < cues::kFlickerCount; ++i)
        EXPECT_FLOAT_EQ(SceneTwo::kFlickerWindows[i].start, static_cast<float>(cues::kFlickers[i])) << i;

    // One tempo: the flickers two to four and the cave fall on beats of the grid from the beat-in.
    for (double cue : {cues::kFlickers[1], cues::kFlickers[2], cues::kFlickers[3], cues::kCaveStart}) {
        const double beats = (cue - cues::kBeatIn) / cues::kBeatSeconds;
        EXPECT_NEAR(beats, std::round(beats), 0.05) << cue;
    }
    EXPECT_GT(cues::kMusicSeconds, cues::kTimelineEnd + 5.0);
    EXPECT_LE(cues::kFadeOutEnd, cues::kTimelineEnd);
}

TEST(Music, IsLongerThanTheTimelineAtFullQuality) {
    const std::vector<std::uint8_t> bytes = ReadMusic();
    ASSERT_FALSE(bytes.empty()) << "no music in " << testing_support::TestAssetRoot();
    const Mp3Stream stream = ReadFrames(bytes);
    EXPECT_TRUE(stream.clean) << "bytes outside MPEG frames (a tag, or a broken frame)";
    EXPECT_EQ(stream.sampleRate, 44100);
    EXPECT_TRUE(stream.stereo);
    EXPECT_GE(stream.bitRate, 192) << "constant bit rate of at least 192 kbit/s";
    const double seconds = stream.frames * 1152.0 / 44100.0;
    EXPECT_GE(seconds, 205.0);
    EXPECT_LT(seconds, 215.0);
}

// The hits at the flickers are the sharpest onsets around them: the energy of the signal's
// changes in 5 ms windows jumps at most 20 ms from each flicker, and far above the usual jump.
TEST(Music, HitsLandOnTheFlickers) {
    const std::vector<std::int16_t> samples = DecodeMono(testing_support::TestAssetRoot() + "/DANE/Oblomar.mp3");
    if (samples.empty()) GTEST_SKIP() << "ffmpeg cannot decode the music here";
    ASSERT_GT(samples.size(), static_cast<std::size_t>(200 * 44100));
    constexpr int kHop = 220;   // 5 ms
    std::vector<double> energy(samples.size() / kHop, 0.0);
    for (std::size_t w = 0; w < energy.size(); ++w)
        for (std::size_t i = std::max<std::size_t>(1, w * kHop); i < (w + 1) * kHop; ++i) {
            const double change = static_cast<double>(samples[i]) - samples[i - 1];
            energy[w] += change * change;
        }
    auto rise = [&](std::size_t w) {
        double before = 0;
        for (std::size_t k = 1; k <= 4 && k <= w; ++k) before = std::max(before, energy[w - k]);
        return energy[w] - before;
    };
    std::vector<double> rises;
    for (std::size_t w = 4; w < energy.size(); w += 7) rises.push_back(std::max(0.0, rise(w)));
    std::nth_element(rises.begin(), rises.begin() + rises.size() * 9 / 10, rises.end());
    const double usual = rises[rises.size() * 9 / 10];

    for (double flicker : cues::kFlickers) {
        const auto centre = static_cast<std::size_t>(flicker * 44100 / kHop);
        std::size_t best = centre - 20;
        for (std::size_t w = centre - 20; w <= centre + 20; ++w)
            if (rise(w) > rise(best)) best = w;
        const double at = static_cast<double>(best) * kHop / 44100.0;
        EXPECT_NEAR(at, flicker, 0.020) << "strongest onset near " << flicker << " s";
        EXPECT_GT(rise(best), 5.0 * usual) << "no clear hit at " << flicker << " s";
    }
}

// Mastered as released music is: loud enough beside other tracks, true peaks clear of the
// clipping a player's decoder and resampler would add, and still with its quiet and loud parts.
TEST(Music, IsMasteredToStreamingLoudness) {
    const std::string path = testing_support::TestAssetRoot() + "/DANE/Oblomar.mp3";
    const std::vector<float> whole = DecodeStereo(path, 0.0, 300.0);
    if (whole.empty()) GTEST_SKIP() << "ffmpeg cannot decode the music here";
    const assets::Loudness piece = assets::MeasureLoudness(whole.data(), whole.size() / 2, 44100);
    ASSERT_TRUE(piece.ok);
    EXPECT_NEAR(piece.integrated, -14.0, 1.0) << "LUFS";
    EXPECT_LE(piece.truePeak, -1.0) << "dBTP";
    EXPECT_GE(piece.range, 6.0) << "LU";

    // The cave stays quieter than the island after it.
    const std::vector<float> cave = DecodeStereo(path, cues::kCaveStart + 1.0, cues::kSkyStart - cues::kCaveStart - 1.0);
    const std::vector<float> island = DecodeStereo(path, cues::kSkyStart + 1.0, cues::kSecondFlash - cues::kSkyStart - 1.0);
    const double caveLoudness = assets::MeasureLoudness(cave.data(), cave.size() / 2, 44100).integrated;
    const double islandLoudness = assets::MeasureLoudness(island.data(), island.size() / 2, 44100).integrated;
    EXPECT_LT(caveLoudness, islandLoudness);
}
