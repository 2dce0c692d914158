// tools/sphere_map.cpp — inverse sphere mapping: texel to reflected direction.
#include "tools/sphere_map.h"

#include <cmath>

namespace assets {

Picture RenderSphereMap(int size, const Environment& environment, int samples) {
    Picture picture(size, size);
    // Outside the disc: the mean of the directions just around "straight behind".
    Colour behind;
    for (int i = 0; i < 64; ++i) {
        const float angle = i * kTwoPi / 64;
        behind += environment(Normalize(Vec3{0.3f * std::cos(angle), 0.3f * std::sin(angle), -1}));
    }
    behind = behind * (1.0f / 64);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // The rim squeezes half the sphere of directions into a thin ring: sample it finer.
            const float cx = 2.0f * (x + 0.5f) / size - 1.0f, cy = 1.0f - 2.0f * (y + 0.5f) / size;
            const int n = cx * cx + cy * cy > 0.88f ? std::max(samples, 3) : samples;
            Colour sum;
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx) {
                    // Row 0 is the top of the picture, which is t = 1 once written bottom-up.
                    const float nx = 2.0f * (x + (sx + 0.5f) / n) / size - 1.0f;
                    const float ny = 1.0f - 2.0f * (y + (sy + 0.5f) / n) / size;
                    const float r2 = nx * nx + ny * ny;
                    if (r2 >= 1.0f) {
                        sum += behind;
                        continue;
                    }
                    // The ball's normal there reflects the view direction (0, 0, -1).
                    const float nz = std::sqrt(1.0f - r2);
                    sum += environment({2 * nz * nx, 2 * nz * ny, 2 * nz * nz - 1});
                }
            picture.Set(x, y, sum * (1.0f / (n * n)));
        }
    return picture;
}

}  // namespace assets
