// player/player.cpp — the player's keys and taps and the state they toggle.
#include "player/player.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "player/time_bar.h"

Player::Player(PlayerTimeline playerTimeline) : timeline(std::move(playerTimeline)) {}

PlayerAction Player::Take(platform::WindowMessage message, const platform::MessageDetail& detail, double now) {
    using platform::WindowMessage;
    PlayerAction action;
    switch (message) {
        case WindowMessage::Pause: return ended ? SeekTo(0.0) : TogglePause();
        case WindowMessage::StepFrame:
            if (paused) action.kind = PlayerAction::Kind::Step;
            return action;
        case WindowMessage::TimeBar:
            timeBarShown = !timeBarShown;
            tapShowedBar = false;
            action.kind = PlayerAction::Kind::TimeBar;
            return action;
        case WindowMessage::SeekTo:
            if (!std::isfinite(detail.seconds)) return action;
            return SeekTo(detail.seconds);
        case WindowMessage::Tap: return Tap(detail);
        default:
            if (SeekTarget(message, now, timeline, action.seconds)) return SeekTo(action.seconds);
            return action;
    }
}

void Player::End() {
    ended = true;
    paused = false;
}

// Playing, a tap pauses and shows the time line; paused, a tap on the line seeks there and one
// anywhere else plays on; at the end, a tap plays the timeline again.
PlayerAction Player::Tap(const platform::MessageDetail& detail) {
    if (ended) return SeekTo(0.0);
    double seconds = 0.0;
    if (paused && timeBarShown && TimeBarSeconds(detail.x, detail.y, timeline.end, seconds)) return SeekTo(seconds);
    if (!paused && !timeBarShown) timeBarShown = tapShowedBar = true;
    return TogglePause();
}

PlayerAction Player::SeekTo(double seconds) {
    ended = false;
    PlayerAction action;
    action.kind = PlayerAction::Kind::Seek;
    action.seconds = std::clamp(seconds, 0.0, timeline.end);
    return action;
}

PlayerAction Player::TogglePause() {
    paused = !paused;
    if (!paused && tapShowedBar) timeBarShown = tapShowedBar = false;
    PlayerAction action;
    action.kind = paused ? PlayerAction::Kind::Pause : PlayerAction::Kind::Resume;
    return action;
}

bool IsPlayerKey(platform::WindowMessage message) {
    using platform::WindowMessage;
    switch (message) {
        case WindowMessage::Pause:
        case WindowMessage::Back:
        case WindowMessage::Forward:
        case WindowMessage::PreviousScene:
        case WindowMessage::NextScene:
        case WindowMessage::Home:
        case WindowMessage::StepFrame:
        case WindowMessage::TimeBar:
        case WindowMessage::SeekTo:
        case WindowMessage::Tap: return true;
        default: return false;
    }
}
