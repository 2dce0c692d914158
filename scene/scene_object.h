// scene/scene_object.h — the base of everything that lives on a clock.
//
// An object has a window [startTime, endTime] (both ends inclusive) with an optional fade-in
// phase at its start and fade-out phase at its end. Once a frame its owner calls Update with
// the time and the frame's step; the object picks its phase and calls one advance and one
// draw operation for it.
#pragma once

class SceneObject {
public:
    SceneObject() = default;
    virtual ~SceneObject() = default;

    virtual float GetEndTime();
    virtual void Enable();
    virtual void Disable();
    virtual bool IsActive(float time, float unused);
    virtual bool Draw();
    virtual bool DrawFadeOut();
    virtual bool DrawFadeIn();
    virtual bool Advance(float step);
    virtual bool AdvanceFadeOut(float step);
    virtual bool AdvanceFadeIn(float step);
    // Phase dispatch; returns whether the object was active.
    virtual bool Update(float time, float step);

    void SetTiming(float start, float end, float fadeIn, float fadeOut);

    float fadeInLength = 0.0f;
    float fadeOutLength = 0.0f;
    float startTime = 0.0f;
    float endTime = 0.0f;
    bool enabled = true;
};
