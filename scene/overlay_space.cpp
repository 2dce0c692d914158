// scene/overlay_space.cpp — matrix set-up and the full-screen strip of 2D overlays.
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
