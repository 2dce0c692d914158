// effects/sun.cpp — the camera-facing sun quad.
#include "effects/sun.h"

void DrawSun(GLuint texture) {
    // Rows of the model-view's rotation are the camera's right and up axes in the current frame.
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const float rx = 2.75f * m[0], ry = 2.75f * m[4], rz = 2.75f * m[8];
    const float ux = 2.75f * m[1], uy = 2.75f * m[5], uz = 2.75f * m[9];

    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor3f(1.0f, 1.0f, 1.0f);
    // The texture stops 0.01 short of its edges, so repeat wrapping never pulls in the far side.
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0.01f, 0.01f);
    glVertex3f(-rx - ux, -ry - uy, -rz - uz);
    glTexCoord2f(0.01f, 0.99f);
    glVertex3f(-rx + ux, -ry + uy, -rz + uz);
    glTexCoord2f(0.99f, 0.01f);
    glVertex3f(rx - ux, ry - uy, rz - uz);
    glTexCoord2f(0.99f, 0.99f);
    glVertex3f(rx + ux, ry + uy, rz + uz);
    glEnd();
    glDisable(GL_BLEND);
}
