// scene/flying_sprite.h — a textured square that flies, grows and spins across its window.
#pragma once

#include "scene/scheduled_object.h"

// Moves from (fromX, fromY) to (toX, toY), its half side going from fromSize to toSize, and
// turns `spin` degrees over the whole window. It moves only in its main phase. Expects the 2D
// projection, texture, colour and blend function to be set by the caller.
class FlyingSprite : public ScheduledObject {
public:
    FlyingSprite() = default;
    ~FlyingSprite() override = default;

    void SetPath(float startX, float startY, float endX, float endY);
    void SetSize(float startSize, float endSize);
    void SetSpin(float degrees);

    bool Draw() override;
    bool Advance(float step) override;

    // A square of half side h centred on (x, y), turned clockwise by `angle` degrees.
    void DrawRotatedSquare(float x, float y, float h);

    float fromX = 0.0f;
    float fromY = 0.0f;
    float toX = 0.0f;
    float toY = 0.0f;
    float fromSize = 0.0f;
    float toSize = 0.0f;
    float flightProgress = 0.0f;
    float angle = 0.0f;
    float spin = 0.0f;
};
