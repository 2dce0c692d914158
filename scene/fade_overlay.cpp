// scene/fade_overlay.cpp — alpha ramps and the full-screen strip.
#include "scene/fade_overlay.h"

#include "platform/gl.h"
#include "scene/overlay_space.h"

void FadeOverlay::SetColor(float red, float green, float blue) {
    color[0] = red;
    color[1] = green;
    color[2] = blue;
}

bool FadeOverlay::Advance(float /*step*/) {
    color[3] = 1.0f;
    return true;
}

bool FadeOverlay::AdvanceFadeIn(float step) {
    color[3] += step / fadeInLength;
    return true;
}

bool FadeOverlay::AdvanceFadeOut(float step) {
    color[3] -= step / fadeOutLength;
    return true;
}

bool FadeOverlay::CoversAt(float time) {
    SelectWindow(time);
    // The same strict tests as Update: the boundaries of the fade phases belong to the main one.
    return enabled && startTime <= time && time <= endTime && time >= startTime + fadeInLength &&
           time <= endTime - fadeOutLength;
}

bool FadeOverlay::Draw() {
    PushOverlaySpace();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(color[0], color[1], color[2], color[3]);
    DrawFullScreenStrip();
    PopOverlaySpace();
    return true;
}
