// player/player.h — pause, frame step, seeks and the time line of a live run.
//
// The player turns the keys and taps into what the main loop is to do; the loop does it
// (rewinding and playing the timeline unseen up to a seek's target, pausing the music and the
// clock).
#pragma once

#include "platform/window.h"
#include "player/seek_target.h"

// What a key or a tap asks of the main loop.
struct PlayerAction {
    enum class Kind { None, Pause, Resume, Seek, Step, TimeBar };
    Kind kind = Kind::None;
    double seconds = 0.0;   // Seek: the demo time to show next
};

class Player {
public:
    explicit Player(PlayerTimeline timeline);

    // The action for `message`, with what came with it, arriving at demo time `now`;
    // Kind::None for messages that are not the player's, and for a frame step while playing.
    PlayerAction Take(platform::WindowMessage message, const platform::MessageDetail& detail, double now);
    PlayerAction Take(platform::WindowMessage message, double now) { return Take(message, {}, now); }

    // The timeline has ended in a run that stays open: the last picture holds until a seek,
    // and Space or a tap plays the timeline again from its start.
    void End();

    bool Paused() const { return paused; }
    bool Ended() const { return ended; }
    bool TimeBarShown() const { return timeBarShown; }
    const PlayerTimeline& Timeline() const { return timeline; }

private:
    PlayerAction Tap(const platform::MessageDetail& detail);
    PlayerAction SeekTo(double seconds);
    PlayerAction TogglePause();

    PlayerTimeline timeline;
    bool paused = false;
    bool ended = false;
    bool timeBarShown = false;
    bool tapShowedBar = false;   // a tap's pause showed the time line; the tap that resumes hides it
};

// Whether `message` is one of the player's keys or taps.
bool IsPlayerKey(platform::WindowMessage message);
