// tools/textures_scene_two.cpp — the chrome ball's space reflection and the nebula of the sky sphere.
#include <cmath>

#include "tools/bmp_writer.h"
#include "tools/noise.h"
#include "tools/sphere_map.h"
#include "tools/star_field.h"
#include "tools/texture_sets.h"

namespace assets {
namespace {

// Violet and teal gas with a blue-white light above and a warm one below; stars come from a
// hashed grid of directions so they stay sharp wherever the map squeezes them.
Colour SpaceEnvironment(Vec3 d) {
    d = Normalize(d);
    const float gas = Fbm3(d.x * 2.2f + 3, d.y * 2.2f, d.z * 2.2f, 4, 0.55f, 41u);
    const float veil = Fbm3(d.x * 4.0f, d.y * 4.0f + 7, d.z * 4.0f, 3, 0.5f, 42u);
    Colour c = Colour{0.01f, 0.01f, 0.03f};
    c += Colour{0.22f, 0.07f, 0.3f} * SmoothStep(-0.1f, 0.8f, gas);
    c += Colour{0.03f, 0.16f, 0.2f} * SmoothStep(0.0f, 0.9f, veil) * (0.5f + 0.5f * d.y);
    const float scale = 90.0f;
    const float sx = d.x * scale, sy = d.y * scale, sz = d.z * scale;
    const float cell = HashUnit(static_cast<int>(std::floor(sx)) * 7 + static_cast<int>(std::floor(sz)) * 131,
                                static_cast<int>(std::floor(sy)), 43u);
    if (cell > 0.985f) {
        const float fx = sx - std::floor(sx) - 0.5f, fy = sy - std::floor(sy) - 0.5f, fz = sz - std::floor(sz) - 0.5f;
        c += Colour{0.9f, 0.92f, 1.0f} * (std::exp(-(fx * fx + fy * fy + fz * fz) * 30.0f) * (cell - 0.985f) * 60.0f);
    }
    const Vec3 light = Normalize({0.5f, 0.7f, 0.5f});
    const float facing = std::max(0.0f, Dot(d, light));
    c += Colour{0.9f, 0.95f, 1.1f} * std::pow(facing, 400.0f) * 1.5f + Colour{0.15f, 0.2f, 0.4f} * std::pow(facing, 12.0f);
    const Vec3 warm = Normalize({-0.6f, -0.5f, 0.4f});
    const float warmFacing = std::max(0.0f, Dot(d, warm));
    c += Colour{1.0f, 0.55f, 0.25f} * std::pow(warmFacing, 150.0f) + Colour{0.25f, 0.08f, 0.05f} * std::pow(warmFacing, 10.0f);
    return c * 0.8f;
}

// The inside of the sky sphere: it wraps around horizontally and is repeated twice each way
// by the texture matrix, so every feature tiles.
Picture NebulaSky() {
    Picture picture(512, 512);
    picture.Shade([](float u, float v) {
        const float gas = PeriodicFbm(u * 4, v * 4, 4, 6, 0.55f, 51u);
        const float dust = PeriodicFbm(u * 8 + 3, v * 8, 8, 5, 0.5f, 52u);
        const float glow = SmoothStep(-0.2f, 0.9f, gas);
        Colour c = Colour{0.01f, 0.01f, 0.025f};
        c += Mix(Colour{0.05f, 0.04f, 0.16f}, Colour{0.2f, 0.06f, 0.22f}, SmoothStep(-0.3f, 0.6f, dust)) * glow;
        c += Colour{0.02f, 0.1f, 0.12f} * SmoothStep(0.3f, 1.0f, dust) * glow;
        // Dark lanes of dust cut through the bright gas.
        const float lane = SmoothStep(0.3f, 0.0f, std::fabs(PeriodicFbm(u * 2, v * 2, 2, 3, 0.45f, 53u)));
        return c * (1.0f - 0.6f * lane);
    });
    AddStars(picture, 700, 0x5EED0002u, 0.75f);
    return picture;
}

}  // namespace

bool WriteSceneTwoTextures(const std::string& root) {
    return WriteBMP(root, "TEKSTURY/env2.bmp", RenderSphereMap(512, SpaceEnvironment, 1)) &&
           WriteBMP(root, "TEKSTURY/stars2.bmp", NebulaSky());
}

}  // namespace assets
