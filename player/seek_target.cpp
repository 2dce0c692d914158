// player/seek_target.cpp — the seek keys' arithmetic.
#include "player/seek_target.h"

#include <algorithm>

namespace {

constexpr double kSeekStep = 5.0;   // seconds per Left or Right

// The index of the scene playing at `now`: the last start at or before it (its first frame is
// one step after the start); -1 before the first scene.
int SceneAt(double now, const PlayerTimeline& timeline) {
    int index = -1;
    for (std::size_t i = 0; i < timeline.sceneStarts.size(); ++i) {
        if (timeline.sceneStarts[i] < now) index = static_cast<int>(i);
    }
    return index;
}

// The first frame of scene `index`.
double SceneFirstFrame(int index, const PlayerTimeline& timeline) {
    return timeline.sceneStarts[static_cast<std::size_t>(index)] + 0.5 / timeline.fps;
}

}  // namespace

bool SeekTarget(platform::WindowMessage message, double now, const PlayerTimeline& timeline, double& target) {
    using platform::WindowMessage;
    const int scene = SceneAt(now, timeline);
    const int scenes = static_cast<int>(timeline.sceneStarts.size());
    switch (message) {
        case WindowMessage::Back: target = now - kSeekStep; break;
        case WindowMessage::Forward: target = now + kSeekStep; break;
        case WindowMessage::Home: target = 0.0; break;
        case WindowMessage::PreviousScene:
            target = scene >= 1 ? SceneFirstFrame(scene - 1, timeline) : 0.0;
            break;
        case WindowMessage::NextScene:
            if (scene + 1 >= scenes) return false;
            target = SceneFirstFrame(scene + 1, timeline);
            break;
        default: return false;
    }
    target = std::clamp(target, 0.0, timeline.end);
    return true;
}
