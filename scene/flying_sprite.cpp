// scene/flying_sprite.cpp — progress along the flight and the turned square.
#include "scene/flying_sprite.h"

#include <cmath>

#include "platform/gl.h"
#include "scene/turned_square.h"

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

void FlyingSprite::DrawRotatedSquare(float x, float y, float h) { DrawTurnedSquare(x, y, h, angle); }
