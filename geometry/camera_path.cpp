// geometry/camera_path.cpp — Catmull-Rom through the loop's points, up vector from the eye.
#include "geometry/camera_path.h"

#include <cmath>

#include "geometry/catmull_rom.h"
#include "platform/gl.h"

namespace {

constexpr float kPointsPerSecond = 30.0f;

void Cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

void CameraPath::SetPoints(PathPoints* path) { points = path; }

void CameraPath::GetView(float eye[3], float up[3]) const {
    const std::size_t n = points ? points->points.size() : 0;
    if (n == 0) {
        // No path: look down at the origin from one unit above it, so the view is still defined.
        eye[0] = 0.0f, eye[1] = 0.0f, eye[2] = 1.0f;
        up[0] = 0.0f, up[1] = 1.0f, up[2] = 0.0f;
        return;
    }
    const double whole = std::floor(static_cast<double>(pathPosition));
    const float fraction = pathPosition - static_cast<float>(whole);
    const long long count = static_cast<long long>(n);
    const long long first = ((static_cast<long long>(whole) % count) + count) % count;
    const PathPoint* p[4];
    for (int k = 0; k < 4; ++k) p[k] = &points->points[static_cast<std::size_t>((first + k) % count)];
    eye[0] = CatmullRom(fraction, p[0]->x, p[1]->x, p[2]->x, p[3]->x);
    eye[1] = CatmullRom(fraction, p[0]->y, p[1]->y, p[2]->y, p[3]->y);
    eye[2] = CatmullRom(fraction, p[0]->z, p[1]->z, p[2]->z, p[3]->z);

    const float down[3] = {0.0f, 0.0f, -1.0f};
    float side[3];
    Cross(eye, down, side);
    Cross(eye, side, up);
    // On (or numerically at) the z axis both cross products vanish; y then serves as up.
    const float planar = eye[0] * eye[0] + eye[1] * eye[1];
    if (planar <= 1e-10f * eye[2] * eye[2]) {
        up[0] = 0.0f, up[1] = 1.0f, up[2] = 0.0f;
    }
}

bool CameraPath::Draw() {
    float eye[3], up[3];
    GetView(eye, up);
    gluLookAt(eye[0], eye[1], eye[2], 0.0, 0.0, 0.0, up[0], up[1], up[2]);
    return true;
}

bool CameraPath::Advance(float step) {
    pathPosition += kPointsPerSecond * step;
    return true;
}

bool CameraPath::Update(float time, float step) {
    // The camera is set every frame, also outside the window; only the motion is windowed.
    if (startTime <= time && time <= endTime) Advance(step);
    Draw();
    return true;
}
