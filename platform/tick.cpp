// platform/tick.cpp — live and virtual millisecond counters.
#include "platform/tick.h"

#include <chrono>

namespace platform {
namespace {

bool virtualClock = false;
double virtualMs = 0.0;   // unwrapped; the fraction carries over between steps
std::uint32_t liveOffset = 0;   // added to the live counter

std::uint32_t LiveMs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms) & 0xFFFFFFFFu);
}

}  // namespace

std::uint32_t GetTickCount() {
    if (virtualClock) {
        const auto whole = static_cast<std::uint64_t>(virtualMs);
        return static_cast<std::uint32_t>(whole & 0xFFFFFFFFu);
    }
    return LiveMs() + liveOffset;
}

void UseVirtualClock(std::uint32_t startMs) {
    virtualClock = true;
    virtualMs = startMs;
}

void AdvanceVirtualClock(double ms) {
    if (ms > 0.0) virtualMs += ms;
}

bool IsVirtualClock() { return virtualClock; }

void UseLiveClock() {
    virtualClock = false;
    liveOffset = 0;
}

void UseLiveClockFrom(std::uint32_t currentMs) {
    virtualClock = false;
    liveOffset = currentMs - LiveMs();   // wraps like the counter itself
}

double WallSeconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(now).count();
}

}  // namespace platform
