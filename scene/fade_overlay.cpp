// scene/fade_overlay.cpp — alpha ramps and the full-screen strip.
#include "scene/fade_overlay.h"

#include "platform/gl.h"

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

bool FadeOverlay::Draw() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, 1, -1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(color[0], color[1], color[2], color[3]);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex2i(0, 0);
    glVertex2i(0, 480);
    glVertex2i(640, 0);
    glVertex2i(640, 480);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    return true;
}
