// scene/scene_object.cpp — window test and phase dispatch.
#include "scene/scene_object.h"

float SceneObject::GetEndTime() { return endTime; }

void SceneObject::Enable() { enabled = true; }

void SceneObject::Disable() { enabled = false; }

bool SceneObject::IsActive(float time, float /*unused*/) {
    return enabled && startTime <= time && time <= endTime;
}

bool SceneObject::Draw() { return false; }

bool SceneObject::DrawFadeOut() { return Draw(); }

bool SceneObject::DrawFadeIn() { return Draw(); }

bool SceneObject::Advance(float /*step*/) { return false; }

bool SceneObject::AdvanceFadeOut(float /*step*/) { return false; }

bool SceneObject::AdvanceFadeIn(float /*step*/) { return false; }

bool SceneObject::Update(float time, float step) {
    if (!enabled) return false;
    if (time < startTime || time > endTime) return false;
    // Strict tests: a phase of length 0 never occurs, and its boundary belongs to the main phase.
    if (time < startTime + fadeInLength) {
        AdvanceFadeIn(step);
        DrawFadeIn();
    } else if (time > endTime - fadeOutLength) {
        AdvanceFadeOut(step);
        DrawFadeOut();
    } else {
        Advance(step);
        Draw();
    }
    return true;
}

void SceneObject::SetTiming(float start, float end, float fadeIn, float fadeOut) {
    startTime = start;
    endTime = end;
    fadeInLength = fadeIn;
    fadeOutLength = fadeOut;
}
