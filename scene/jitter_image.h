// scene/jitter_image.h — a caption picture that fades with its window and jumps about.
#pragma once

#include "platform/gl.h"
#include "scene/scene_object.h"

// A textured rectangle modulated by a grey `brightness` that rises in the fade-in phase, is 1
// in the main phase and falls in the fade-out phase. Every 0.1 s of active time its position
// and size jump by a few random pixels. Expects the 2D projection and blend function from the
// caller; sets its own colour and texture.
class JitterImage : public SceneObject {
public:
    // `slot` is the scene's texture entry to bind; it is read at every draw.
    explicit JitterImage(GLuint* slot);
    ~JitterImage() override = default;

    void SetRect(int rectLeft, int rectBottom, int rectRight, int rectTop);

    bool Draw() override;
    bool DrawFadeIn() override;
    bool Advance(float step) override;
    bool AdvanceFadeOut(float step) override;
    bool AdvanceFadeIn(float step) override;

    // Counts the step off the timer and re-rolls the offsets when it runs out.
    void Jitter(float step);

    float brightness = 0.0f;
    GLuint* textureSlot;
    int left = 0;
    int bottom = 0;
    int right = 0;
    int top = 0;
    int widthJitter = 0;
    int heightJitter = 0;
    int xJitter = 0;
    int yJitter = 0;
    float jitterTimer = 0.2f;
    bool jitterHorizontal = true;
    bool jitterVertical = true;
};
