// geometry/window_point.h — where GL would put a point on the window, and which ray a window
// pixel stands for, worked out on the CPU.
#pragma once

// Window coordinates of the object-space point (px, py, pz) under the given column-major
// model-view and projection matrices and viewport (x, y, width, height), found the way GL
// transforms a point: eye space, clip space, the clip test against the view volume, the
// perspective divide and the viewport. False, leaving x and y alone, when the point lies
// outside the view volume (GL would clip it away).
bool ProjectToWindow(const float modelView[16], const float projection[16], const int viewport[4], float px,
                     float py, float pz, float& x, float& y);

// An axis-aligned box; empty until the first point is added.
struct Bounds {
    float min[3] = {0, 0, 0};
    float max[3] = {0, 0, 0};
    bool empty = true;

    void Add(float x, float y, float z);
    // Grows the box by the given amounts on each side.
    void Widen(float dx, float dy, float dz);
};

// Whether the ray through the centre of window pixel (px, py), between the near and far
// planes, meets the object-space box under the given matrices and viewport: false means
// nothing inside the box can be drawn on that pixel. Errs towards true; an empty box is met
// by no ray.
bool PixelRayMeetsBox(const double modelView[16], const double projection[16], const int viewport[4], int px, int py,
                      const Bounds& box);
