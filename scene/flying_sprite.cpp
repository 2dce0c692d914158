// scene/flying_sprite.cpp — progress along the flight and the turned square.
#include "scene/flying_sprite.h"

#include <cmath>

#include "platform/gl.h"

void FlyingSprite::SetPath(float startX, float startY, float endX, float endY) {
    fromX = startX;
    fromY = startY;
    toX = endX;
    toY = endY;
}

void FlyingSprite::SetSize(float startSize, float endSize) {
    fromSize = startSize;
    toSize = endSize;
}

void FlyingSprite::SetSpin(float degrees) { spin = degrees; }

bool FlyingSprite::Advance(float step) {
    const float perSecond = 1.0f / (endTime - startTime);
    flightProgress += step * perSecond;
    if (flightProgress > 1.0f) flightProgress = 1.0f;
    // The angle is not clamped: only the position stops at the end of the flight.
    angle += step * spin * perSecond;
    return true;
}

bool FlyingSprite::Draw() {
    const float x = fromX + (toX - fromX) * flightProgress;
    const float y = fromY + (toY - fromY) * flightProgress;
    const float h = fromSize + (toSize - fromSize) * flightProgress;
    DrawRotatedSquare(x, y, h);
    return true;
}

void FlyingSprite::DrawRotatedSquare(float x, float y, float h) {
    const float a = angle * 3.14f / 180.0f;   // 3.14, not pi: the spins are tuned to it
    const float c = std::cos(a), s = std::sin(a);
    static const float kCorners[4][2] = {{-1, 1}, {-1, -1}, {1, 1}, {1, -1}};
    static const float kTexCoords[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i < 4; ++i) {
        const float u = kCorners[i][0], v = kCorners[i][1];
        glTexCoord2f(kTexCoords[i][0], kTexCoords[i][1]);
        glVertex2f(x + h * (c * u + s * v), y + h * (-s * u + c * v));
    }
    glEnd();
}
