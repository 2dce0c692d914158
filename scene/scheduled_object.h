// scene/scheduled_object.h — an object whose window is picked from a list of windows.
#pragma once

#include <vector>

#include "scene/scene_object.h"

// Each time it is asked, the first listed window containing the time becomes its timing; when
// none contains it the timing stays as it was, which leaves the object inactive. Used bare as a
// timer, and as the base of overlays that appear several times.
class ScheduledObject : public SceneObject {
public:
    // Inactive (window 1..-1) until a window has been selected.
    ScheduledObject();
    ~ScheduledObject() override = default;

    // Appends one window; windows keep the order in which they were added.
    void AddWindow(float start, float end, float fadeIn, float fadeOut);

    bool IsActive(float time, float unused) override;
    bool Update(float time, float step) override;

    std::vector<float> starts;
    std::vector<float> ends;
    std::vector<float> fadeIns;
    std::vector<float> fadeOuts;

protected:
    void SelectWindow(float time);
};
