// scenes/morph_timer.cpp — the hold and leg timing of the cube cloud.
#include "scenes/morph_timer.h"

void MorphTimer::Step(float frameTime) {
    holdTimer -= frameTime;
    if (holdTimer >= 0.0f) return;
    if (legCounter % 2 == 0)
        morphPhase += 0.5f * frameTime;
    else
        morphPhase -= 0.5f * frameTime;
    if (morphPhase > 1.0f || morphPhase < 0.0f) {
        ++legCounter;
        // However long the frame, one overshoot ends one leg: the shape advances by one.
        if (morphPhase > 1.0f) {
            ++shapeCounter;
            morphPhase = 1.0f;
            holdTimer = 1.0f;
        } else {
            morphPhase = 0.0f;
            holdTimer = 7.5f;
        }
    }
}
