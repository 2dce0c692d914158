// platform/random.h — the program-wide pseudo-random generator.
//
// A linear congruential generator with the classic C runtime constants, so every
// sequence (the tree of the last scene depends on it) is the same on every system.
#pragma once

namespace platform {

constexpr int kRandMax = 32767;

// Next value in 0..32767.
int Rand();

// Restarts the sequence; the initial state is 1.
void SRand(unsigned seed);

}  // namespace platform
