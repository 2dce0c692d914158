// geometry/catmull_rom.cpp — the cubic in its basis-matrix form.
#include "geometry/catmull_rom.h"

float CatmullRom(float t, float p0, float p1, float p2, float p3) {
    const float cubic = -0.5f * p0 + 1.5f * p1 - 1.5f * p2 + 0.5f * p3;
    const float square = 1.0f * p0 - 2.5f * p1 + 2.0f * p2 - 0.5f * p3;
    const float linear = -0.5f * p0 + 0.5f * p2;
    return t * t * t * cubic + t * t * square + t * linear + p1;
}
