// scene/fade_overlay.h — a full-screen colour whose alpha follows the phases of its windows.
#pragma once

#include "scene/scheduled_object.h"

// Alpha rises through fade-in phases, is 1 in main phases and falls through fade-out phases.
// It is never clamped and never reset, so each fade starts where the last frame left it and
// consecutive windows chain smoothly.
class FadeOverlay : public ScheduledObject {
public:
    FadeOverlay() = default;
    ~FadeOverlay() override = default;

    // Sets red, green and blue; alpha is the phases' business.
    void SetColor(float red, float green, float blue);

    // Draws in its own 640 × 480 space and leaves blending on and GL_MODELVIEW selected.
    // Expects depth test and face culling off.
    bool Draw() override;
    bool Advance(float step) override;
    bool AdvanceFadeOut(float step) override;
    bool AdvanceFadeIn(float step) override;

    // True when Update at `time` will draw the overlay fully opaque (the main phase of a window
    // sets alpha 1), so nothing drawn under it in that frame can be seen. Selects the window as
    // Update would.
    bool CoversAt(float time);

    float color[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};
