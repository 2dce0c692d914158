// tools/textures_scene_four.cpp — cave rock, sea-floor sand, the water sheet's reflection and
// the particle glow of the underwater cave.
#include <cmath>

#include "tools/bmp_writer.h"
#include "tools/noise.h"
#include "tools/relief.h"
#include "tools/sphere_map.h"
#include "tools/texture_sets.h"

namespace assets {
namespace {

// Fractured stone: cells of rock with dark cracks between them, each its own shade of
// grey-brown, rough inside. Repeats both ways. The cave's lights are yellow, so the rock
// itself stays neutral.
Picture CaveRock() {
    constexpr int kSize = 512;
    Picture picture(kSize, kSize);
    HeightField field{kSize, kSize, std::vector<float>(static_cast<std::size_t>(kSize) * kSize)};
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float u = (x + 0.5f) / kSize, v = (y + 0.5f) / kSize;
            const float warpX = 0.3f * PeriodicFbm(u * 4, v * 4, 4, 3, 0.5f, 101u);
            const float warpY = 0.3f * PeriodicFbm(u * 4 + 5, v * 4, 4, 3, 0.5f, 102u);
            const CellDistances cells = PeriodicCells(u * 7 + warpX, v * 7 + warpY, 7, 103u);
            const float crack = SmoothStep(0.0f, 0.12f, cells.second - cells.nearest);
            const float rough = PeriodicFbm(u * 24, v * 24, 24, 5, 0.55f, 104u);
            const float tone = (cells.cell & 0xFF) / 255.0f;
            field.values[static_cast<std::size_t>(y) * kSize + x] = 6.0f * crack - 2.0f * cells.nearest + 1.2f * rough;
            const Colour stone = Mix(Colour{0.38f, 0.34f, 0.3f}, Colour{0.55f, 0.5f, 0.44f}, tone);
            const Colour moss = Colour{0.2f, 0.3f, 0.22f};
            const float mossy = SmoothStep(0.35f, 0.8f, PeriodicFbm(u * 3, v * 3, 3, 4, 0.5f, 105u));
            Colour c = Mix(stone, moss, mossy * 0.5f) * (0.85f + 0.2f * rough);
            picture.Set(x, y, Mix(Colour{0.06f, 0.05f, 0.05f}, c, crack));
        }
    ApplyRelief(picture, field, 1.5f, 0.45f, 0.75f);
    return picture;
}

// Rippled sand with scattered pebbles and darker patches; repeats both ways.
Picture SeaFloor() {
    constexpr int kSize = 512;
    Picture picture(kSize, kSize);
    HeightField field{kSize, kSize, std::vector<float>(static_cast<std::size_t>(kSize) * kSize)};
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float u = (x + 0.5f) / kSize, v = (y + 0.5f) / kSize;
            const float bend = PeriodicFbm(u * 3, v * 3, 3, 3, 0.5f, 111u);
            const float ripple = std::sin((v * 18 + u * 2 + 0.8f * bend) * kTwoPi);
            const float ripples = 0.5f + 0.5f * ripple * std::fabs(ripple);
            const float grain = HashUnit(x, y, 112u);
            const CellDistances pebbles = PeriodicCells(u * 40, v * 40, 40, 113u);
            const float pebble = (pebbles.cell % 5 == 0) ? SmoothStep(0.32f, 0.18f, pebbles.nearest) : 0.0f;
            const float patch = SmoothStep(-0.2f, 0.8f, PeriodicFbm(u * 4 + 2, v * 4, 4, 5, 0.5f, 114u));
            field.values[static_cast<std::size_t>(y) * kSize + x] = 2.2f * ripples + 3.0f * pebble + 0.3f * grain;
            Colour sand = Mix(Colour{0.62f, 0.55f, 0.42f}, Colour{0.4f, 0.38f, 0.3f}, patch * 0.6f);
            sand = sand * (0.9f + 0.15f * grain);
            const Colour stone = Mix(Colour{0.35f, 0.33f, 0.32f}, Colour{0.55f, 0.5f, 0.46f}, ((pebbles.cell >> 8) & 0xFF) / 255.0f);
            picture.Set(x, y, Mix(sand, stone, pebble));
        }
    ApplyRelief(picture, field, 1.2f, 0.5f, 0.7f);
    return picture;
}

// Looking up through the water the surface glitters; below it is dark. The sheet is added to
// the picture, so the whole map stays dim.
Colour UnderwaterEnvironment(Vec3 d) {
    d = Normalize(d);
    const float up = Clamp01(d.y * 0.5f + 0.5f);
    Colour c = Mix(Colour{0.0f, 0.02f, 0.04f}, Colour{0.05f, 0.2f, 0.26f}, up * up);
    const float ripple = 1.0f - std::fabs(Fbm3(d.x * 5, d.y * 2, d.z * 5, 4, 0.5f, 121u));
    c += Colour{0.25f, 0.5f, 0.5f} * std::pow(ripple, 12.0f) * up;
    const Vec3 light = Normalize({0.2f, 1.0f, 0.3f});
    c += Colour{0.35f, 0.55f, 0.5f} * std::pow(std::max(0.0f, Dot(d, light)), 30.0f);
    return c;
}

// A soft round glow with a black edge, tinted orange by the particles' own colours.
Picture Particle() {
    Picture picture(64, 64);
    picture.Shade([](float u, float v) {
        const float x = (u - 0.5f) * 2, y = (v - 0.5f) * 2;
        const float r2 = x * x + y * y;
        const float window = 1.0f - SmoothStep(0.6f, 0.95f, std::sqrt(r2));
        const float value = (std::exp(-r2 * 9.0f) + 0.35f * std::exp(-r2 * 3.0f)) * window;
        return Colour{value, value, value};
    });
    return picture;
}

}  // namespace

bool WriteSceneFourTextures(const std::string& root) {
    return WriteBMP(root, "TEKSTURY/jaskinia.bmp", CaveRock()) && WriteBMP(root, "TEKSTURY/ziemia.bmp", SeaFloor()) &&
           WriteBMP(root, "TEKSTURY/water3.bmp", RenderSphereMap(256, UnderwaterEnvironment, 1)) &&
           WriteBMP(root, "TEKSTURY/particle.bmp", Particle());
}

}  // namespace assets
