// tools/textures_scene_one.cpp — the chrome object's environment, captions, background layers,
// star field, floor tiles and the flying sprite of the first scene.
#include <cmath>

#include "tools/bmp_writer.h"
#include "tools/noise.h"
#include "tools/scene_one_pictures.h"
#include "tools/sphere_map.h"
#include "tools/star_field.h"
#include "tools/text_renderer.h"
#include "tools/texture_sets.h"

namespace assets {
namespace {

// A soft-edged rectangular studio light seen at azimuth/elevation (radians) of a direction.
float SoftBox(float azimuth, float elevation, float centreAzimuth, float centreElevation, float halfWidth,
              float halfHeight) {
    const float da = std::fabs(azimuth - centreAzimuth) - halfWidth;
    const float de = std::fabs(elevation - centreElevation) - halfHeight;
    return (1.0f - SmoothStep(-0.02f, 0.03f, da)) * (1.0f - SmoothStep(-0.02f, 0.03f, de));
}

// Sky with a sun and two studio lights above a dark floor ruled with a glowing grid. Kept
// fairly dark on average: the object adds this picture twice.
Colour ChromeEnvironment(Vec3 d) {
    d = Normalize(d);
    const float azimuth = std::atan2(d.x, d.z);
    const float elevation = std::asin(std::max(-1.0f, std::min(1.0f, d.y)));
    Colour c;
    if (d.y >= 0) {
        const float height = std::sqrt(d.y);
        c = Mix(Colour{0.42f, 0.48f, 0.62f}, Colour{0.03f, 0.07f, 0.22f}, height);
        const float cloud = Fbm3(d.x * 2.5f, d.y * 6.0f, d.z * 2.5f, 4, 0.5f, 11u);
        c += Colour{0.18f, 0.17f, 0.2f} * SmoothStep(0.1f, 0.7f, cloud) * (1 - height);
        c += Colour{1.0f, 1.0f, 1.05f} * 0.9f * SoftBox(azimuth, elevation, 0.9f, 0.55f, 0.32f, 0.13f);
        c += Colour{0.9f, 0.95f, 1.0f} * 0.7f * SoftBox(azimuth, elevation, -2.3f, 0.35f, 0.18f, 0.22f);
    } else {
        // The floor plane one unit below; grid lines every unit, faded towards the horizon.
        const float distance = -1.0f / d.y;
        const float gx = d.x * distance, gz = d.z * distance;
        const float fx = std::fabs(gx - std::round(gx)), fz = std::fabs(gz - std::round(gz));
        const float width = 0.025f * distance;
        const float line = std::max(std::exp(-fx * fx / (width * width)), std::exp(-fz * fz / (width * width)));
        const float fade = SmoothStep(0.0f, 0.35f, -d.y);
        c = Colour{0.05f, 0.03f, 0.09f} + Colour{0.15f, 0.55f, 0.75f} * (line * fade * 0.8f);
    }
    // A bright band along the horizon.
    c += Colour{0.55f, 0.5f, 0.45f} * std::exp(-(d.y * d.y) / 0.0012f);
    // The sun: a hard core and a warm halo.
    const Vec3 sun = Normalize({-0.45f, 0.55f, 0.7f});
    const float facing = std::max(0.0f, Dot(d, sun));
    c += Colour{1.2f, 1.1f, 0.95f} * std::pow(facing, 900.0f) + Colour{0.45f, 0.35f, 0.2f} * std::pow(facing, 25.0f);
    return c;
}

// A caption: a large glowing word and a smaller line below it, white on black.
bool Caption(const std::string& root, const char* file, const char* word, const char* line, Colour glow) {
    Picture picture(256, 256);
    TextRenderer text;
    TextStyle big;
    big.font = "DejaVu Sans:bold";
    big.pixelSize = 66;
    big.glowRadius = 9;
    big.glowColour = glow;
    big.letterSpacing = 0;
    TextStyle small;
    small.font = "Liberation Sans";
    small.pixelSize = 25;
    small.colour = {0.85f, 0.88f, 0.92f};
    small.glowRadius = 5;
    small.glowColour = glow * 0.5f;
    if (!text.DrawCentred(picture, word, 128, 140, big) || !text.DrawCentred(picture, line, 128, 196, small))
        return false;
    // A thin rule between the two lines, fading at its ends.
    for (int x = 40; x < 216; ++x) {
        const float u = (x - 40) / 176.0f;
        picture.Blend(x, 160, glow * 1.4f, std::sin(u * kPi) * 0.9f);
    }
    return WriteBMP(root, file, picture);
}

// Spiral arms of gas around the centre; the three tinted, rotating copies of this layer
// add up, so it stays dark.
Picture Background() {
    Picture picture(512, 512);
    picture.Shade([](float u, float v) {
        const float x = u - 0.5f, y = v - 0.5f;
        const float r = std::sqrt(x * x + y * y);
        const float angle = std::atan2(y, x);
        // Coordinates that wind around the centre make the noise form spiral arms.
        const float swirl = angle + 5.0f * r;
        const float arms = 0.5f + 0.5f * std::cos(3.0f * swirl + 1.5f * PeriodicFbm(u * 4, v * 4, 4, 3, 0.5f, 21u));
        const float gas = Clamp01(0.5f + 0.6f * PeriodicFbm(u * 6, v * 6, 6, 5, 0.55f, 22u));
        const float falloff = std::exp(-r * 1.8f);
        const float value = (0.05f + 0.5f * std::pow(arms, 3.0f) * (0.35f + 0.65f * gas) * SmoothStep(0.0f, 0.12f, r)) * falloff +
                            0.2f * std::exp(-r * r / 0.006f);
        return Colour{0.85f, 0.9f, 1.0f} * value + Colour{0.05f, 0.03f, 0.09f} * gas * falloff;
    });
    return picture;
}

Picture Stars() {
    Picture picture(512, 512);
    AddStars(picture, 900, 0x5EED0001u, 0.9f);
    return picture;
}

// Floor tiles: 2 × 2 slabs of speckled grey stone with dark joints and a light bevel.
Picture FloorTiles() {
    Picture picture(256, 256);
    picture.Shade([](float u, float v) {
        const float tx = std::fmod(u * 2, 1.0f), ty = std::fmod(v * 2, 1.0f);
        const float edge = std::min(std::min(tx, 1 - tx), std::min(ty, 1 - ty)) * 128;
        const float joint = 1.0f - SmoothStep(1.0f, 2.5f, edge);
        const float bevel = SmoothStep(2.5f, 3.5f, edge) * (1.0f - SmoothStep(3.5f, 6.0f, edge));
        const float grain = PeriodicFbm(u * 16, v * 16, 16, 5, 0.55f, 31u);
        const int slab = static_cast<int>(u * 2) + 2 * static_cast<int>(v * 2);
        const float shade = 0.3f + 0.04f * (slab % 3) + 0.05f * grain;
        const float base = Mix(shade + 0.07f * bevel, 0.1f, joint);
        return Colour{base, base, base * 1.05f};
    });
    return picture;
}

// An ornamental ring of light with rays, black around it: the sprites are added to the screen.
Picture Sprite() {
    Picture picture(256, 256);
    picture.Shade([](float u, float v) {
        const float x = (u - 0.5f) * 2, y = (v - 0.5f) * 2;
        const float r = std::sqrt(x * x + y * y);
        const float angle = std::atan2(y, x);
        const float ring = std::exp(-std::pow((r - 0.62f) / 0.035f, 2.0f));
        const float innerRing = 0.6f * std::exp(-std::pow((r - 0.32f) / 0.02f, 2.0f));
        const float petals = std::pow(0.5f + 0.5f * std::cos(8 * angle), 6.0f) * std::exp(-std::pow((r - 0.47f) / 0.1f, 2.0f));
        const float rays = std::pow(0.5f + 0.5f * std::cos(16 * angle), 30.0f) * SmoothStep(0.1f, 0.3f, r) * std::exp(-r * 2.5f);
        const float core = std::exp(-r * r / 0.012f);
        const float window = 1.0f - SmoothStep(0.8f, 0.97f, r);
        const float value = (ring + innerRing + 0.7f * petals + 1.2f * rays + core + 0.12f * std::exp(-r * 3)) * window;
        return Colour{value, value, value};
    });
    return picture;
}

}  // namespace

Colour SceneOneEnvironment(Vec3 direction) { return ChromeEnvironment(direction); }

Picture SceneOneBackground() { return Background(); }

bool WriteSceneOneTextures(const std::string& root) {
    return WriteBMP(root, "TEKSTURY/env.bmp", RenderSphereMap(512, ChromeEnvironment, 2)) &&
           Caption(root, "TEKSTURY/code.bmp", "code", "the undertow team", {0.15f, 0.45f, 0.75f}) &&
           Caption(root, "TEKSTURY/music.bmp", "music", "undertow audio", {0.75f, 0.4f, 0.12f}) &&
           WriteBMP(root, "TEKSTURY/background.bmp", Background()) && WriteBMP(root, "TEKSTURY/stars.bmp", Stars()) &&
           WriteBMP(root, "TEKSTURY/gray.bmp", FloorTiles()) && WriteBMP(root, "TEKSTURY/tekstura01.bmp", Sprite());
}

}  // namespace assets
