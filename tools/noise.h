// tools/noise.h — deterministic random numbers and gradient/cellular noise for the textures.
#pragma once

#include <cstdint>

namespace assets {

// A small generator of our own (splitmix64), so the assets never depend on the C library's rand.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint32_t Next();
    // Uniform in [low, high).
    float Uniform(float low, float high);
    // Uniform integer in [0, count).
    int Below(int count);

private:
    std::uint64_t state_;
};

// Gradient noise in about -1..1 that repeats every `period` units along x and y.
float PeriodicNoise(float x, float y, int period, std::uint32_t seed);

// Sum of `octaves` periodic noises, each at twice the frequency and `gain` times the amplitude
// of the one before; the first repeats every `period` units. Roughly -1..1.
float PeriodicFbm(float x, float y, int period, int octaves, float gain, std::uint32_t seed);

// Gradient noise in 3D (not periodic), about -1..1, and its fractal sum.
float Noise3(float x, float y, float z, std::uint32_t seed);
float Fbm3(float x, float y, float z, int octaves, float gain, std::uint32_t seed);

// Distances to the nearest and second-nearest feature point of a cellular pattern with one
// point per unit cell, repeating every `period` cells; `cell` receives a hash of the nearest cell.
struct CellDistances {
    float nearest;
    float second;
    std::uint32_t cell;
};
CellDistances PeriodicCells(float x, float y, int period, std::uint32_t seed);

// A well-mixed hash of three integers.
std::uint32_t Hash3(std::int32_t x, std::int32_t y, std::uint32_t seed);
// The hash as a float in [0, 1).
float HashUnit(std::int32_t x, std::int32_t y, std::uint32_t seed);

}  // namespace assets
