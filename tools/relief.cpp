// tools/relief.cpp — normals from central differences, one directional light.
#include "tools/relief.h"

namespace assets {

float HeightField::At(int x, int y) const {
    x = ((x % width) + width) % width;
    y = ((y % height) + height) % height;
    return values[static_cast<std::size_t>(y) * width + x];
}

void ApplyRelief(Picture& picture, const HeightField& field, float bumpiness, float ambient, float diffuse) {
    const Vec3 light = Normalize({-0.5f, 0.6f, 0.65f});   // x right, y up the picture, z out of it
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const float dx = (field.At(x + 1, y) - field.At(x - 1, y)) * 0.5f * bumpiness;
            const float dy = (field.At(x, y - 1) - field.At(x, y + 1)) * 0.5f * bumpiness;
            const Vec3 normal = Normalize({-dx, -dy, 1});
            const float lit = ambient + diffuse * std::max(0.0f, Dot(normal, light));
            picture.Set(x, y, picture.Get(x, y) * lit, picture.Alpha(x, y));
        }
}

}  // namespace assets
