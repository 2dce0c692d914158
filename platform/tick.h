// platform/tick.h — the one millisecond clock of the program.
#pragma once
#include <cstdint>

namespace platform {

// Milliseconds since some fixed moment; wraps like a 32-bit counter.
std::uint32_t GetTickCount();

// Replaces the live counter with one that advances only when told to.
void UseVirtualClock(std::uint32_t startMs);
void AdvanceVirtualClock(double ms);   // keeps the fraction for the next step
bool IsVirtualClock();

// Back to the live counter (tests).
void UseLiveClock();

// Back to the live counter, which from now on counts on from `currentMs` (a run that caught
// up on the virtual clock goes on in real time without a jump).
void UseLiveClockFrom(std::uint32_t currentMs);

// Wall-clock seconds from a monotonic source, for measuring (never for the demo's time).
double WallSeconds();

}  // namespace platform
