// tools/noise.cpp — splitmix64, Perlin-style gradient noise and Worley cells.
#include "tools/noise.h"

#include <algorithm>
#include <cmath>

#include "tools/vec.h"

namespace assets {

std::uint32_t Random::Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

float Random::Uniform(float low, float high) {
    return low + (high - low) * static_cast<float>(Next() >> 8) * (1.0f / 16777216.0f);
}

int Random::Below(int count) { return static_cast<int>(Next() % static_cast<std::uint32_t>(count)); }

std::uint32_t Hash3(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B9u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float HashUnit(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    return static_cast<float>(Hash3(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

namespace {

float Fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }

int Wrap(int i, int period) { return ((i % period) + period) % period; }

float Gradient2(int ix, int iy, std::uint32_t seed, float dx, float dy) {
    const float angle = HashUnit(ix, iy, seed) * kTwoPi;
    return std::cos(angle) * dx + std::sin(angle) * dy;
}

float Gradient3(int ix, int iy, int iz, std::uint32_t seed, float dx, float dy, float dz) {
    // The twelve edge directions of a cube, as in improved Perlin noise.
    switch (Hash3(ix, iy, seed ^ (static_cast<std::uint32_t>(iz) * 0x27D4EB2Du)) % 12) {
        case 0: return dx + dy;
        case 1: return -dx + dy;
        case 2: return dx - dy;
        case 3: return -dx - dy;
        case 4: return dx + dz;
        case 5: return -dx + dz;
        case 6: return dx - dz;
        case 7: return -dx - dz;
        case 8: return dy + dz;
        case 9: return -dy + dz;
        case 10: return dy - dz;
        default: return -dy - dz;
    }
}

}  // namespace

float PeriodicNoise(float x, float y, int period, std::uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    const float dx = x - fx, dy = y - fy;
    const int ax = Wrap(x0, period), bx = Wrap(x0 + 1, period);
    const int ay = Wrap(y0, period), by = Wrap(y0 + 1, period);
    const float n00 = Gradient2(ax, ay, seed, dx, dy);
    const float n10 = Gradient2(bx, ay, seed, dx - 1, dy);
    const float n01 = Gradient2(ax, by, seed, dx, dy - 1);
    const float n11 = Gradient2(bx, by, seed, dx - 1, dy - 1);
    const float u = Fade(dx), v = Fade(dy);
    return 1.41421356f * Mix(Mix(n00, n10, u), Mix(n01, n11, u), v);
}

float PeriodicFbm(float x, float y, int period, int octaves, float gain, std::uint32_t seed) {
    float sum = 0, amplitude = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        // A shift per octave keeps the lattice points (where gradient noise is zero) of the
        // octaves apart; a constant shift keeps the period.
        sum += amplitude * PeriodicNoise(x + 0.37f * i, y + 0.61f * i, period, seed + static_cast<std::uint32_t>(i) * 101u);
        norm += amplitude;
        amplitude *= gain;
        x *= 2;
        y *= 2;
        period *= 2;
    }
    return sum / norm * 1.6f;
}

float Noise3(float x, float y, float z, std::uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy), z0 = static_cast<int>(fz);
    const float dx = x - fx, dy = y - fy, dz = z - fz;
    float corners[8];
    for (int i = 0; i < 8; ++i) {
        const int ox = i & 1, oy = (i >> 1) & 1, oz = (i >> 2) & 1;
        corners[i] = Gradient3(x0 + ox, y0 + oy, z0 + oz, seed, dx - ox, dy - oy, dz - oz);
    }
    const float u = Fade(dx), v = Fade(dy), w = Fade(dz);
    const float a = Mix(Mix(corners[0], corners[1], u), Mix(corners[2], corners[3], u), v);
    const float b = Mix(Mix(corners[4], corners[5], u), Mix(corners[6], corners[7], u), v);
    return Mix(a, b, w);
}

float Fbm3(float x, float y, float z, int octaves, float gain, std::uint32_t seed) {
    float sum = 0, amplitude = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Noise3(x, y, z, seed + static_cast<std::uint32_t>(i) * 131u);
        norm += amplitude;
        amplitude *= gain;
        x *= 2.03f;
        y *= 2.03f;
        z *= 2.03f;
    }
    return sum / norm * 1.6f;
}

CellDistances PeriodicCells(float x, float y, int period, std::uint32_t seed) {
    const int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
    CellDistances result{1e9f, 1e9f, 0};
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox) {
            const int gx = Wrap(cx + ox, period), gy = Wrap(cy + oy, period);
            const float px = cx + ox + HashUnit(gx, gy, seed);
            const float py = cy + oy + HashUnit(gx, gy, seed + 7u);
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < result.nearest) {
                result.second = result.nearest;
                result.nearest = d;
                result.cell = Hash3(gx, gy, seed + 13u);
            } else if (d < result.second) {
                result.second = d;
            }
        }
    return result;
}

}  // namespace assets
