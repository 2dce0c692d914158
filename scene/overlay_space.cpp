// scene/overlay_space.cpp — matrix set-up, the full-screen strip and veil of 2D overlays, and
// the scenes' perspective.
#include "scene/overlay_space.h"

#include "platform/gl.h"

void PushOverlaySpace() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, 1, -1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void PopOverlaySpace() {
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void DrawFullScreenStrip() {
    glBegin(GL_TRIANGLE_STRIP);
    glVertex2i(0, 0);
    glVertex2i(0, 480);
    glVertex2i(640, 0);
    glVertex2i(640, 480);
    glEnd();
}

void DrawFullScreenVeil() {
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    PushOverlaySpace();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    DrawFullScreenStrip();
    PopOverlaySpace();
    glPopAttrib();
}

void LoadPerspective(double fovy, double aspect, double zFar) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovy, aspect, kPerspectiveNear, zFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
