// player/player.cpp — the player's keys and the state they toggle.
#include "player/player.h"

#include <utility>

Player::Player(PlayerTimeline playerTimeline) : timeline(std::move(playerTimeline)) {}

PlayerAction Player::Take(platform::WindowMessage message, double now) {
    using platform::WindowMessage;
    PlayerAction action;
    switch (message) {
        case WindowMessage::Pause:
            paused = !paused;
            action.kind = paused ? PlayerAction::Kind::Pause : PlayerAction::Kind::Resume;
            return action;
        case WindowMessage::StepFrame:
            if (paused) action.kind = PlayerAction::Kind::Step;
            return action;
        case WindowMessage::TimeBar:
            timeBarShown = !timeBarShown;
            action.kind = PlayerAction::Kind::TimeBar;
            return action;
        default:
            if (SeekTarget(message, now, timeline, action.seconds)) action.kind = PlayerAction::Kind::Seek;
            return action;
    }
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
        case WindowMessage::TimeBar: return true;
        default: return false;
    }
}
