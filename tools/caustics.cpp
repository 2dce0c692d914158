// tools/caustics.cpp — 32 looping frames of underwater caustics (WODA/Caust0..31.BMP).
//
// Light falls through a rippled surface and is bent by its slopes; counting where the rays
// land on the floor gives the bright focused lines. The surface is a sum of waves with whole
// numbers of wavelengths across the picture (so frames tile) and whole numbers of periods over
// the 32 frames (so the animation loops without a jump).
#include <cmath>
#include <cstdio>
#include <vector>

#include "tools/bmp_writer.h"
#include "tools/noise.h"
#include "tools/texture_sets.h"

namespace assets {
namespace {

constexpr int kSize = 256;
constexpr int kFrames = 32;
constexpr int kRaysPerSide = 2;       // rays per texel along each axis
constexpr float kSpread = 6.5f;       // how far a slope bends a ray, in texels per unit slope

struct Wave {
    int kx, ky;          // wavelengths across the picture
    int cycles;          // periods over the whole loop (sign gives the direction)
    float amplitude;
    float phase;
};

std::vector<Wave> Waves() {
    std::vector<Wave> waves;
    Random random(0xCA057u);
    const int directions[][2] = {{5, 1}, {-2, 5}, {4, -4}, {-6, -2}, {1, -6}, {7, 3}, {-3, 7}, {3, 8}, {-8, 1}, {6, 6}};
    for (const auto& d : directions) {
        const float length = std::sqrt(static_cast<float>(d[0] * d[0] + d[1] * d[1]));
        Wave wave;
        wave.kx = d[0];
        wave.ky = d[1];
        wave.cycles = random.Below(2) ? 1 : -1;
        if (length > 7.5f) wave.cycles *= 2;
        // Shorter waves are lower, as on real water.
        wave.amplitude = 1.0f / (length * length) * random.Uniform(0.7f, 1.0f);
        wave.phase = random.Uniform(0, kTwoPi);
        waves.push_back(wave);
    }
    return waves;
}

// The surface slope (dh/dx, dh/dy) at every texel for one frame. Separable tables of sines
// and cosines replace a transcendental call per texel and wave.
void Slopes(const std::vector<Wave>& waves, int frame, std::vector<float>& sx, std::vector<float>& sy) {
    sx.assign(static_cast<std::size_t>(kSize) * kSize, 0.0f);
    sy.assign(sx.size(), 0.0f);
    std::vector<float> cosX(kSize), sinX(kSize), cosY(kSize), sinY(kSize);
    for (const Wave& wave : waves) {
        const float time = kTwoPi * wave.cycles * frame / kFrames + wave.phase;
        for (int i = 0; i < kSize; ++i) {
            cosX[i] = std::cos(kTwoPi * wave.kx * i / kSize);
            sinX[i] = std::sin(kTwoPi * wave.kx * i / kSize);
            cosY[i] = std::cos(kTwoPi * wave.ky * i / kSize + time);
            sinY[i] = std::sin(kTwoPi * wave.ky * i / kSize + time);
        }
        // h = a sin(θ), so dh/dx = a (2π kx / N) cos(θ), with cos(θ) = cos x cos y − sin x sin y.
        const float gx = wave.amplitude * kTwoPi * wave.kx, gy = wave.amplitude * kTwoPi * wave.ky;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const float c = cosX[x] * cosY[y] - sinX[x] * sinY[y];
                sx[static_cast<std::size_t>(y) * kSize + x] += gx * c;
                sy[static_cast<std::size_t>(y) * kSize + x] += gy * c;
            }
    }
}

float Bilinear(const std::vector<float>& field, float x, float y) {
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const float fx = x - x0, fy = y - y0;
    auto at = [&](int px, int py) {   // kSize is a power of two: masking wraps
        return field[static_cast<std::size_t>(py & (kSize - 1)) * kSize + (px & (kSize - 1))];
    };
    return Mix(Mix(at(x0, y0), at(x0 + 1, y0), fx), Mix(at(x0, y0 + 1), at(x0 + 1, y0 + 1), fx), fy);
}

Picture Frame(const std::vector<Wave>& waves, int frame) {
    std::vector<float> sx, sy;
    Slopes(waves, frame, sx, sy);
    std::vector<float> light(static_cast<std::size_t>(kSize) * kSize, 0.0f);
    auto deposit = [&](int x, int y, float amount) {
        light[static_cast<std::size_t>(y & (kSize - 1)) * kSize + (x & (kSize - 1))] += amount;
    };
    for (int y = 0; y < kSize * kRaysPerSide; ++y)
        for (int x = 0; x < kSize * kRaysPerSide; ++x) {
            const float px = (x + 0.5f) / kRaysPerSide, py = (y + 0.5f) / kRaysPerSide;
            const float lx = px - kSpread * Bilinear(sx, px - 0.5f, py - 0.5f);
            const float ly = py - kSpread * Bilinear(sy, px - 0.5f, py - 0.5f);
            // Split the ray between the four texels around its landing point.
            const float fx = lx - 0.5f, fy = ly - 0.5f;
            const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
            const float ax = fx - x0, ay = fy - y0;
            deposit(x0, y0, (1 - ax) * (1 - ay));
            deposit(x0 + 1, y0, ax * (1 - ay));
            deposit(x0, y0 + 1, (1 - ax) * ay);
            deposit(x0 + 1, y0 + 1, ax * ay);
        }
    Picture picture(kSize, kSize);
    const float perTexel = 1.0f / (kRaysPerSide * kRaysPerSide);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float density = light[static_cast<std::size_t>(y) * kSize + x] * perTexel;
            // Only the focused light shows: the floor between the lines stays dark.
            const float value = std::pow(Clamp01((density - 0.75f) * 0.7f), 0.85f);
            picture.Set(x, y, Colour{0.85f, 0.95f, 1.0f} * value);
        }
    Blur(picture, 1, 1, true);
    return picture;
}

}  // namespace

bool WriteCaustics(const std::string& root) {
    const std::vector<Wave> waves = Waves();
    for (int frame = 0; frame < kFrames; ++frame) {
        char name[64];
        std::snprintf(name, sizeof name, "TEKSTURY/WODA/Caust%d.BMP", frame);
        if (!WriteBMP(root, name, Frame(waves, frame))) return false;
    }
    return true;
}

}  // namespace assets
