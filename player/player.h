// player/player.h — pause, frame step, seeks and the time line of a live run.
//
// The player turns the keys into what the main loop is to do; the loop does it (rewinding and
// playing the timeline unseen up to a seek's target, pausing the music and the clock).
#pragma once

#include "platform/window.h"
#include "player/seek_target.h"

// What a key asks of the main loop.
struct PlayerAction {
    enum class Kind { None, Pause, Resume, Seek, Step, TimeBar };
    Kind kind = Kind::None;
    double seconds = 0.0;   // Seek: the demo time to show next
};

class Player {
public:
    explicit Player(PlayerTimeline timeline);

    // The action for `message` arriving at demo time `now`; Kind::None for messages that are
    // not the player's, and for a frame step while playing.
    PlayerAction Take(platform::WindowMessage message, double now);

    bool Paused() const { return paused; }
    bool TimeBarShown() const { return timeBarShown; }
    const PlayerTimeline& Timeline() const { return timeline; }

private:
    PlayerTimeline timeline;
    bool paused = false;
    bool timeBarShown = false;
};

// Whether `message` is one of the player's keys.
bool IsPlayerKey(platform::WindowMessage message);
