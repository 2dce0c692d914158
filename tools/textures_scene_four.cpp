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

// Weathered cave rock: large slabs whose joints come and go, layered bands, pitted grain and
// patches of dark growth. Repeats both ways. The cave's lights are yellow, so the rock itself
// stays neutral.
Picture CaveRock() {
    constexpr int kSize = 512;
    Picture picture(kSize, kSize);
    HeightField field{kSize, kSize, std::vector<float>(static_cast<std::size_t>(kSize) * kSize)};
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float u = (x + 0.5f) / kSize, v = (y + 0.5f) / kSize;
            const float warpX = 0.45f * PeriodicFbm(u * 3, v * 3, 3, 3, 0.5f, 101u);
            const float warpY = 0.45f * PeriodicFbm(u * 3 + 5, v * 3, 3, 3, 0.5f, 102u);
            const CellDistances cells = PeriodicCells(u * 5 + warpX, v * 5 + warpY, 5, 103u);
            // Joints fade in and out along their length, so the slabs do not read as masonry.
            const float jointShows = SmoothStep(-0.1f, 0.35f, PeriodicFbm(u * 6, v * 6, 6, 2, 0.5f, 106u));
            const float joint = (1.0f - SmoothStep(0.0f, 0.07f, cells.second - cells.nearest)) * jointShows;
            const float rough = PeriodicFbm(u * 24, v * 24, 24, 5, 0.55f, 104u);
            const float bands = std::sin((v * 4 + 0.35f * PeriodicFbm(u * 2, v * 2, 2, 3, 0.5f, 107u)) * kTwoPi);
            const float tone = (cells.cell & 0xFF) / 255.0f;
            field.values[static_cast<std::size_t>(y) * kSize + x] =
                -4.0f * joint + 1.5f * PeriodicFbm(u * 8, v * 8, 8, 4, 0.5f, 108u) + 1.0f * rough + 0.6f * bands;
            Colour stone = Mix(Colour{0.42f, 0.38f, 0.34f}, Colour{0.6f, 0.55f, 0.48f}, 0.35f * tone + 0.35f + 0.3f * bands * 0.5f);
            const Colour growth = Colour{0.16f, 0.2f, 0.16f};
            const float growthAmount = SmoothStep(0.3f, 0.85f, PeriodicFbm(u * 3, v * 3, 3, 4, 0.5f, 105u));
            stone = Mix(stone, growth, growthAmount * 0.6f) * (0.82f + 0.25f * rough);
            picture.Set(x, y, Mix(stone, Colour{0.08f, 0.07f, 0.06f}, joint * 0.8f));
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
            // Darker than dry sand: the main light is close and bright, and the sheet adds to it.
            Colour sand = Mix(Colour{0.44f, 0.4f, 0.32f}, Colour{0.27f, 0.27f, 0.23f}, patch * 0.7f);
            sand = sand * (0.9f + 0.15f * grain);
            const Colour stone = Mix(Colour{0.25f, 0.24f, 0.23f}, Colour{0.42f, 0.39f, 0.36f}, ((pebbles.cell >> 8) & 0xFF) / 255.0f);
            picture.Set(x, y, Mix(sand, stone, pebble));
        }
    ApplyRelief(picture, field, 1.2f, 0.5f, 0.7f);
    return picture;
}

// What the sheet reflects, by reflected direction in eye space. Flat water reflects the view
// ahead (toward -z, near the rim of the map) and stays dim; where ripples tilt it, it picks up
// the glitter of the lit surface above and the warm main light up on the left. The sheet is
// added to the picture, so the map is black wherever it should show nothing.
Colour UnderwaterEnvironment(Vec3 d) {
    d = Normalize(d);
    const float ahead = Clamp01(-d.z), up = Clamp01(d.y);
    Colour c{0.0f, 0.012f, 0.02f};
    c += Colour{0.02f, 0.08f, 0.09f} * std::pow(ahead, 4.0f) * SmoothStep(-0.1f, 0.45f, d.y);
    const float ripple = 1.0f - std::fabs(Fbm3(d.x * 6, d.y * 3, d.z * 6, 4, 0.5f, 121u));
    const float glitter = std::pow(ripple, 8.0f) * SmoothStep(0.05f, 0.5f, up) * (1.0f - 0.6f * std::pow(ahead, 6.0f));
    c += Colour{0.35f, 0.6f, 0.6f} * glitter;
    const Vec3 light = Normalize({-0.35f, 0.45f, -0.8f});
    c += Colour{0.55f, 0.4f, 0.12f} * std::pow(std::max(0.0f, Dot(d, light)), 60.0f);
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
