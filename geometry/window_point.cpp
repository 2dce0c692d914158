// geometry/window_point.cpp — the point transform of the GL pipeline, for one point.
#include "geometry/window_point.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/gl.h"

namespace {

// r = m × v for a column-major 4 × 4 matrix.
void Transform(const float m[16], const float v[4], float r[4]) {
    for (int row = 0; row < 4; ++row)
        r[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
}

}  // namespace

bool ProjectToWindow(const float modelView[16], const float projection[16], const int viewport[4], float px,
                     float py, float pz, float& x, float& y) {
    const float object[4] = {px, py, pz, 1.0f};
    float eye[4];
    float clip[4];
    Transform(modelView, object, eye);
    Transform(projection, eye, clip);
    const float w = clip[3];
    for (int i = 0; i < 3; ++i) {
        if (!(clip[i] >= -w && clip[i] <= w)) return false;   // also false for w ≤ 0 off the axis, and NaN
    }
    if (!(w > 0.0f)) return false;
    const float inverseW = 1.0f / w;
    const float halfWidth = 0.5f * static_cast<float>(viewport[2]);
    const float halfHeight = 0.5f * static_cast<float>(viewport[3]);
    x = clip[0] * inverseW * halfWidth + (static_cast<float>(viewport[0]) + halfWidth);
    y = clip[1] * inverseW * halfHeight + (static_cast<float>(viewport[1]) + halfHeight);
    return true;
}

void Bounds::Add(float x, float y, float z) {
    const float p[3] = {x, y, z};
    for (int axis = 0; axis < 3; ++axis) {
        min[axis] = empty ? p[axis] : std::min(min[axis], p[axis]);
        max[axis] = empty ? p[axis] : std::max(max[axis], p[axis]);
    }
    empty = false;
}

void Bounds::Widen(float dx, float dy, float dz) {
    const float d[3] = {dx, dy, dz};
    for (int axis = 0; axis < 3; ++axis) {
        min[axis] -= d[axis];
        max[axis] += d[axis];
    }
}

bool PixelRayMeetsBox(const double modelView[16], const double projection[16], const int viewport[4], int px, int py,
                      const Bounds& box) {
    if (box.empty) return false;
    double from[3], to[3];
    const double cx = px + 0.5, cy = py + 0.5;
    if (!gluUnProject(cx, cy, 0.0, modelView, projection, viewport, &from[0], &from[1], &from[2]) ||
        !gluUnProject(cx, cy, 1.0, modelView, projection, viewport, &to[0], &to[1], &to[2]))
        return true;
    // The segment from + t·(to − from), t in 0..1, clipped against the box's slabs; the box
    // grows by a little more than rounding could move a vertex.
    double enter = 0.0, leave = 1.0;
    for (int axis = 0; axis < 3; ++axis) {
        const double margin = 1e-4 * (1.0 + std::fabs(box.min[axis]) + std::fabs(box.max[axis]));
        const double low = box.min[axis] - margin, high = box.max[axis] + margin;
        const double d = to[axis] - from[axis];
        if (std::fabs(d) < 1e-12) {
            if (from[axis] < low || from[axis] > high) return false;
            continue;
        }
        double t0 = (low - from[axis]) / d, t1 = (high - from[axis]) / d;
        if (t0 > t1) std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
        if (enter > leave) return false;
    }
    return true;
}
