// player/seek_target.h — where each of the player's keys moves the demo time.
#pragma once

#include <vector>

#include "platform/window.h"

// The timeline as the player sees it: the scenes' start times in ascending order and the end.
struct PlayerTimeline {
    std::vector<double> sceneStarts;
    double end = 0.0;
    int fps = 60;   // steps per second of the run that seeks land in
};

// The demo time that `message` moves to from `now`: five seconds back or on, the start of the
// scene before or after the one playing, or the start of the timeline, always inside 0 .. end.
// A scene's start is its first frame, one step after the instant its window opens (the scene
// before still shows at that instant). False when the message is no seek, or Page Down is
// pressed in the last scene.
bool SeekTarget(platform::WindowMessage message, double now, const PlayerTimeline& timeline, double& target);
