// scene/scheduled_object.cpp — window selection before the usual window test.
#include "scene/scheduled_object.h"

ScheduledObject::ScheduledObject() { SetTiming(1.0f, -1.0f, 0.0f, 0.0f); }

void ScheduledObject::AddWindow(float start, float end, float fadeIn, float fadeOut) {
    starts.push_back(start);
    ends.push_back(end);
    fadeIns.push_back(fadeIn);
    fadeOuts.push_back(fadeOut);
}

bool ScheduledObject::IsActive(float time, float unused) {
    SelectWindow(time);
    return SceneObject::IsActive(time, unused);
}

bool ScheduledObject::Update(float time, float step) {
    SelectWindow(time);
    return SceneObject::Update(time, step);
}

void ScheduledObject::SelectWindow(float time) {
    // First match wins, so where one window ends as the next starts the earlier one holds the
    // shared instant.
    for (std::size_t i = 0; i < starts.size(); ++i) {
        if (starts[i] <= time && time <= ends[i]) {
            SetTiming(starts[i], ends[i], fadeIns[i], fadeOuts[i]);
            return;
        }
    }
}
