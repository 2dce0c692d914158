// scene/turned_square.cpp — the turned square's corners.
#include "scene/turned_square.h"

#include <cmath>

#include "platform/gl.h"

void DrawTurnedSquare(float x, float y, float h, float angle, void (*secondUnit)(float s, float t)) {
    const float a = angle * 3.14f / 180.0f;
    const float c = std::cos(a), s = std::sin(a);
    static const float kCorners[4][2] = {{-1, 1}, {-1, -1}, {1, 1}, {1, -1}};
    static const float kTexCoords[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i < 4; ++i) {
        const float u = kCorners[i][0], v = kCorners[i][1];
        glTexCoord2f(kTexCoords[i][0], kTexCoords[i][1]);
        if (secondUnit) secondUnit(kTexCoords[i][0], kTexCoords[i][1]);
        glVertex2f(x + h * (c * u + s * v), y + h * (-s * u + c * v));
    }
    glEnd();
}
