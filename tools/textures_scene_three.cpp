// tools/textures_scene_three.cpp — bark, grass, leaves, sun, clouds, flare rings and sea
// pictures of the island and sea sections.
#include <cmath>

#include "tools/bmp_writer.h"
#include "tools/noise.h"
#include "tools/sphere_map.h"
#include "tools/texture_sets.h"
#include "tools/tga_writer.h"

namespace assets {
namespace {

// Bark in vertical furrows. A branch ring runs s from 0 to 16/17 and closes back on s = 0, so
// every feature across the picture repeats 17 times: the ring then closes without a seam, and
// the picture still tiles at its own edges.
Picture Bark() {
    Picture picture(256, 256);
    picture.Shade([](float u, float v) {
        const float x = u * 17;   // one furrow per seventeenth
        const float warp = PeriodicFbm(x * 2, v * 6, 2, 3, 0.5f, 61u);
        const float ridges = std::fabs(std::sin((x + 0.3f * warp) * kPi));
        const float furrow = std::pow(ridges, 0.7f);
        const float grain = PeriodicFbm(x * 3, v * 24, 3, 3, 0.5f, 62u);
        const float cracks = SmoothStep(0.55f, 0.8f, PeriodicFbm(x * 2 + 5, v * 10, 2, 3, 0.5f, 63u));
        Colour c = Mix(Colour{0.09f, 0.06f, 0.035f}, Colour{0.4f, 0.29f, 0.19f}, furrow * (1 - 0.6f * cracks));
        c = c * (0.8f + 0.2f * grain);
        // Patches of grey-green lichen on the ridges.
        const float lichen = SmoothStep(0.4f, 0.75f, PeriodicFbm(x + 9, v * 4, 1, 3, 0.5f, 64u)) * furrow;
        return Mix(c, Colour{0.42f, 0.48f, 0.33f} * (0.7f + 0.3f * furrow), lichen * 0.55f);
    });
    return picture;
}

// The island's one picture. Upper part (t from 0.375 up, rows 0..159): a meadow seen from
// above, mapped once across the top. Lower part: the earth under the turf, with roots, turning
// into cracked rock further down; it repeats across and runs down the underside from the rim
// (t = 0.355) to the lowest point (t = 0.02).
constexpr int kGrassRows = 160;

Colour Meadow(float u, float v) {
    const float patches = PeriodicFbm(u * 4, v * 4, 4, 5, 0.5f, 71u);
    const float fine = PeriodicFbm(u * 48, v * 48, 48, 2, 0.5f, 72u);
    const Colour lush{0.16f, 0.42f, 0.1f}, dry{0.42f, 0.5f, 0.18f};
    return Mix(lush, dry, SmoothStep(-0.4f, 0.9f, patches)) * (0.8f + 0.25f * fine);
}

Colour EarthAndRock(float u, float v) {
    const float depth = (v - kGrassRows / 256.0f) / (1.0f - kGrassRows / 256.0f);   // 0 at the rim
    const float warpX = 0.3f * PeriodicFbm(u * 4, v * 4, 4, 3, 0.5f, 121u);
    const CellDistances cells = PeriodicCells(u * 8 + warpX, v * 8, 8, 122u);
    const float crack = SmoothStep(0.0f, 0.12f, cells.second - cells.nearest);
    const float stoneTone = 0.75f + 0.35f * HashUnit(static_cast<std::int32_t>(cells.cell), 3, 123u);
    const float grit = PeriodicFbm(u * 32, v * 32, 32, 3, 0.5f, 124u);
    const Colour stone = Mix(Colour{0.3f, 0.27f, 0.24f}, Colour{0.5f, 0.46f, 0.4f}, 0.5f + 0.5f * grit) * stoneTone;
    const Colour rock = stone * (0.35f + 0.65f * crack);
    const Colour earth = Colour{0.28f, 0.18f, 0.1f} * (0.7f + 0.3f * grit);
    Colour c = Mix(earth, rock, SmoothStep(0.1f, 0.45f, depth + 0.1f * warpX));
    // Roots hanging out of the earth just under the turf.
    const float root = std::pow(std::fabs(std::sin((u * 23 + 0.4f * PeriodicFbm(u * 3, v * 6, 3, 2, 0.5f, 125u)) * kPi)), 40.0f);
    c = Mix(c, Colour{0.36f, 0.27f, 0.16f}, root * (1.0f - SmoothStep(0.05f, 0.4f, depth)));
    return c;
}

Picture Grass() {
    Picture picture(256, 256);
    picture.Shade([](float u, float v) { return v < kGrassRows / 256.0f ? Meadow(u, v) : EarthAndRock(u, v); });
    Random random(0x6A55u);
    for (int i = 0; i < 2600; ++i) {
        const float x = random.Uniform(0, 256), y = random.Uniform(0, kGrassRows - 6);
        const float angle = random.Uniform(-0.6f, 0.6f) - kPi / 2;
        const float length = random.Uniform(3, 9);
        const Colour blade = random.Below(2) ? Colour{0.3f, 0.6f, 0.18f} : Colour{0.08f, 0.25f, 0.05f};
        for (float s = 0; s < length; s += 0.5f) {
            const int px = static_cast<int>(x + std::cos(angle) * s), py = static_cast<int>(y + std::sin(angle) * s);
            const int wx = ((px % 256) + 256) % 256;
            if (py < 0 || py >= kGrassRows) continue;
            picture.Blend(wx, py, blade, 0.5f * (1 - s / length) + 0.15f);
        }
    }
    // Turf hanging over the rim: tufts from the top of the earth band.
    for (int i = 0; i < 700; ++i) {
        const float x = random.Uniform(0, 256), length = random.Uniform(2, 12);
        const Colour blade = random.Below(2) ? Colour{0.22f, 0.45f, 0.12f} : Colour{0.1f, 0.28f, 0.06f};
        for (float s = 0; s < length; s += 0.5f) {
            const int px = ((static_cast<int>(x + 0.3f * s) % 256) + 256) % 256;
            picture.Blend(px, kGrassRows + static_cast<int>(s), blade, 0.8f * (1 - s / length) + 0.1f);
        }
    }
    for (int i = 0; i < 40; ++i) {
        const float x = random.Uniform(0, 256), y = random.Uniform(4, kGrassRows - 4);
        const Colour petal = random.Below(3) ? Colour{0.95f, 0.9f, 0.35f} : Colour{0.95f, 0.95f, 0.95f};
        AddGlow(picture, x, y, 1.1f, petal * 0.9f);
    }
    return picture;
}

// The outline of one kind of leaf: half its width (in lengths) at `along` (0 stalk, 1 tip).
using LeafOutline = float (*)(float along);
float OvalLeaf(float along) { return 0.26f * std::pow(std::sin(kPi * along), 0.75f) * (1.05f - 0.35f * along); }
float NarrowLeaf(float along) { return 0.12f * std::pow(std::sin(kPi * along), 0.6f); }
float RoundLeaf(float along) { return 0.38f * std::pow(std::sin(kPi * std::pow(along, 0.8f)), 0.9f); }
float SerratedLeaf(float along) {
    return (0.24f + 0.04f * std::sin(along * 38)) * std::pow(std::sin(kPi * along), 0.8f);
}

// One leaf from (baseX, baseY) along `angle`, `length` long, into colour and alpha.
void PaintLeaf(Picture& picture, float baseX, float baseY, float angle, float length, Colour colour,
               LeafOutline outline) {
    const float dx = std::cos(angle), dy = std::sin(angle);
    const float reach = length * 0.5f + 2;
    const float cx = baseX + dx * length * 0.5f, cy = baseY + dy * length * 0.5f;
    for (int y = static_cast<int>(cy - reach); y <= static_cast<int>(cy + reach); ++y)
        for (int x = static_cast<int>(cx - reach); x <= static_cast<int>(cx + reach); ++x) {
            if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) continue;
            const float px = x + 0.5f - baseX, py = y + 0.5f - baseY;
            const float along = (px * dx + py * dy) / length;   // 0 at the stalk, 1 at the tip
            const float across = (-px * dy + py * dx) / length;
            if (along < 0 || along > 1) continue;
            const float edge = (outline(along) - std::fabs(across)) * length;   // pixels inside the outline
            const float coverage = Clamp01(edge + 0.5f);
            if (coverage <= 0) continue;
            // Lighter midrib and veins, a darker half, shading towards the rim.
            const float midrib = std::exp(-std::pow(across * length / 0.8f, 2.0f));
            const float veins = std::pow(0.5f + 0.5f * std::cos((along * 9 - std::fabs(across) * 14) * kTwoPi), 8.0f) * 0.15f;
            const float side = across > 0 ? 0.82f : 1.0f;
            const float rim = 0.75f + 0.25f * Clamp01(edge / 3.0f);
            Colour c = colour * side * rim * (0.9f + 0.2f * along) + Colour{0.15f, 0.18f, 0.05f} * (midrib * 0.8f + veins);
            const float alpha = std::max(picture.Alpha(x, y), coverage);
            picture.Set(x, y, Mix(picture.Get(x, y), c, coverage), alpha);
        }
}

// Four sprigs, one kind of leaf in each quadrant. A leaf quad hangs from 0.099 above to 0.792
// below its branch tip, so the tip sits 11% down from the top of each quadrant; each sprig's
// stalk starts there. Alpha is the cut-out; colour outside the leaves stays a leaf green so
// filtering does not darken the edges, and a clear border keeps quadrants from bleeding.
Picture Leaves() {
    Picture picture(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) picture.Set(x, y, {0.16f, 0.32f, 0.08f}, 0.0f);
    const LeafOutline outlines[4] = {OvalLeaf, NarrowLeaf, RoundLeaf, SerratedLeaf};
    const float lengths[4] = {40, 50, 30, 38};
    const int counts[4] = {12, 16, 10, 12};
    const Colour tints[4] = {{1, 1, 1}, {1.1f, 1.05f, 0.8f}, {0.9f, 1.0f, 1.0f}, {1.15f, 1.1f, 0.7f}};
    Random random(0x1EAFu);
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        Picture sprig(128, 128);
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x) sprig.Set(x, y, {0.16f, 0.32f, 0.08f}, 0.0f);
        const float stemX = 64 + random.Uniform(-4, 4), tipY = 14;
        for (int i = 0; i < counts[quadrant]; ++i) {
            const float t = (i + 0.5f) / counts[quadrant];
            const float attachY = tipY + 2 + t * 60;
            const float side = (i % 2) ? 1.0f : -1.0f;
            const float angle = kPi / 2 - side * random.Uniform(0.5f, 1.15f) * (1.1f - 0.6f * t);
            const float length = lengths[quadrant] * random.Uniform(0.8f, 1.1f) * (0.75f + 0.5f * std::sin(kPi * (0.25f + 0.6f * t)));
            const Colour colour = Mix(Colour{0.12f, 0.34f, 0.08f}, Colour{0.36f, 0.55f, 0.12f}, random.Uniform(0, 1)) *
                                  tints[quadrant] * random.Uniform(0.8f, 1.1f);
            PaintLeaf(sprig, stemX + side * 2, attachY, angle, length, colour, outlines[quadrant]);
        }
        // The last leaf points straight down from the end of the stalk.
        PaintLeaf(sprig, stemX, tipY + 64, kPi / 2 + random.Uniform(-0.2f, 0.2f), lengths[quadrant],
                  Colour{0.22f, 0.45f, 0.1f} * tints[quadrant], outlines[quadrant]);
        for (int y = static_cast<int>(tipY) - 4; y < static_cast<int>(tipY) + 66; ++y)
            for (int x = static_cast<int>(stemX) - 1; x <= static_cast<int>(stemX) + 1; ++x)
                sprig.Set(x, y, {0.25f, 0.2f, 0.1f}, 1.0f);
        const int left = (quadrant % 2) * 128, top = (quadrant / 2) * 128;
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x) {
                const bool border = x < 2 || y < 2 || x >= 126 || y >= 126;
                picture.Set(left + x, top + y, sprig.Get(x, y), border ? 0.0f : sprig.Alpha(x, y));
            }
    }
    return picture;
}

// White-hot disc in a yellow-orange glow that fades to black at the edge (added to the sky, so
// the glow stays modest: the disc is to be the one thing that is white).
Picture Sun() {
    Picture picture(256, 256);
    picture.Shade([](float u, float v) {
        const float x = (u - 0.5f) * 2, y = (v - 0.5f) * 2;
        const float r = std::sqrt(x * x + y * y);
        const float disc = 1.0f - SmoothStep(0.15f, 0.19f, r);
        const float glow = std::exp(-r * 5.5f) * 0.8f + std::exp(-r * 2.5f) * 0.18f;
        const float window = 1.0f - SmoothStep(0.7f, 0.98f, r);
        return (Colour{1.0f, 0.98f, 0.9f} * disc + Colour{1.0f, 0.75f, 0.35f} * glow) * window;
    });
    return picture;
}

// Soft clouds on black (black lets the sky through); repeats both ways. Seven layers of them
// add up over the sky, each adding the square of its colour, so the picture is a dim grey-blue:
// where the layers overlap they come out white, and the open sky between them stays blue.
Picture Clouds() {
    Picture picture(256, 256);
    picture.Shade([](float u, float v) {
        const float n = PeriodicFbm(u * 4, v * 4, 4, 5, 0.5f, 81u);
        const float density = SmoothStep(0.05f, 0.8f, n);
        const float shade = PeriodicFbm(u * 4 + 0.12f, v * 4 + 0.12f, 4, 5, 0.5f, 81u);
        const float light = 0.8f + 0.2f * Clamp01((n - shade) * 4 + 0.5f);
        return Colour{0.6f, 0.64f, 0.74f} * (density * light);
    });
    return picture;
}

// A thin bright ring around a faint disc, for the chain of flare reflections.
Picture FlareRing() {
    Picture picture(128, 128);
    picture.Shade([](float u, float v) {
        const float x = (u - 0.5f) * 2, y = (v - 0.5f) * 2;
        const float r = std::sqrt(x * x + y * y);
        const float ring = std::exp(-std::pow((r - 0.78f) / 0.05f, 2.0f));
        const float disc = 0.18f * (1.0f - SmoothStep(0.6f, 0.78f, r)) * (0.6f + 0.4f * r);
        const float window = 1.0f - SmoothStep(0.9f, 0.99f, r);
        const float value = (ring + disc) * window;
        return Colour{value, value, value};
    });
    return picture;
}

// The glow laid on the sun: a bright centre, a star of streaks and a faint halo.
Picture FlareGlow() {
    Picture picture(256, 256);
    picture.Shade([](float u, float v) {
        const float x = (u - 0.5f) * 2, y = (v - 0.5f) * 2;
        const float r = std::sqrt(x * x + y * y);
        const float angle = std::atan2(y, x);
        const float core = std::exp(-r * r / 0.01f) + 0.5f * std::exp(-r * 4.0f);
        const float streaks = std::pow(std::fabs(std::cos(3 * angle)), 40.0f) * std::exp(-r * 3.0f) * 0.6f;
        const float halo = 0.15f * std::exp(-std::pow((r - 0.7f) / 0.06f, 2.0f));
        const float window = 1.0f - SmoothStep(0.85f, 0.99f, r);
        const float value = (core + streaks + halo) * window;
        return Colour{value, value, value};
    });
    return picture;
}

// Open sea from above: deep blue-green with bright wave crests; repeats both ways.
Picture SeaSurface() {
    Picture picture(256, 256);
    picture.Shade([](float u, float v) {
        const float swell = PeriodicFbm(u * 3, v * 3, 3, 4, 0.5f, 91u);
        const float chop = PeriodicFbm(u * 8 + swell * 0.5f, v * 8, 8, 4, 0.55f, 92u);
        const float crest = std::pow(1.0f - std::fabs(chop), 6.0f);
        Colour c = Mix(Colour{0.02f, 0.16f, 0.3f}, Colour{0.05f, 0.34f, 0.45f}, SmoothStep(-0.6f, 0.8f, swell));
        c += Colour{0.55f, 0.7f, 0.75f} * crest * 0.7f;
        const float sparkle = std::pow(Clamp01(PeriodicFbm(u * 32, v * 32, 32, 2, 0.5f, 93u)), 6.0f);
        return c + Colour{0.8f, 0.85f, 0.9f} * sparkle * 2.0f;
    });
    return picture;
}

// Pale sky over a blue sea with the sun low over the water, as a sphere map.
Colour SeaEnvironment(Vec3 d) {
    d = Normalize(d);
    Colour c;
    if (d.y >= 0) {
        c = Mix(Colour{0.75f, 0.78f, 0.92f}, Colour{0.3f, 0.4f, 0.8f}, std::sqrt(d.y));
        const float cloud = Fbm3(d.x * 3, d.y * 8, d.z * 3, 4, 0.5f, 95u);
        c = Mix(c, Colour{0.95f, 0.95f, 1.0f}, SmoothStep(0.2f, 0.8f, cloud) * (1 - d.y) * 0.7f);
    } else {
        const float waves = Fbm3(d.x * 12, d.y * 3, d.z * 12, 3, 0.5f, 96u);
        c = Mix(Colour{0.1f, 0.3f, 0.45f}, Colour{0.02f, 0.1f, 0.2f}, std::sqrt(-d.y)) * (0.85f + 0.2f * waves);
    }
    const Vec3 sun = Normalize({0.3f, 0.25f, 0.9f});
    const float facing = std::max(0.0f, Dot(d, sun));
    return c + Colour{1.0f, 0.9f, 0.7f} * (std::pow(facing, 600.0f) * 1.5f + std::pow(facing, 20.0f) * 0.3f);
}

}  // namespace

bool WriteSceneThreeTextures(const std::string& root) {
    return WriteBMP(root, "TEKSTURY/kora.BMP", Bark()) && WriteBMP(root, "TEKSTURY/trawa.BMP", Grass()) &&
           WriteTGA(root, "TEKSTURY/liscie.TGA", Leaves()) && WriteBMP(root, "TEKSTURY/sun.BMP", Sun()) &&
           WriteBMP(root, "TEKSTURY/sky.BMP", Clouds()) && WriteBMP(root, "TEKSTURY/flare2.BMP", FlareRing()) &&
           WriteBMP(root, "TEKSTURY/flare3.BMP", FlareGlow()) && WriteBMP(root, "TEKSTURY/water2.BMP", SeaSurface()) &&
           WriteBMP(root, "TEKSTURY/waterenv.BMP", RenderSphereMap(256, SeaEnvironment, 1));
}

}  // namespace assets
