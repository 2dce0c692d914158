// platform/tick.cpp — live and virtual millisecond counters.
#include "platform/tick.h"

#include <chrono>

namespace platform {
namespace {

bool virtualClock = false;
double virtualMs = 0.0;   // unwrapped; the fraction carries over between steps

}  // namespace

std::uint32_t GetTickCount() {
    if (virtualClock) {
        const auto whole = static_cast<std::uint64_t>(virtualMs);
        return static_cast<std::uint32_t>(whole & 0xFFFFFFFFu);
    }
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms) & 0xFFFFFFFFu);
}

void UseVirtualClock(std::uint32_t startMs) {
    virtualClock = true;
    virtualMs = startMs;
}

void AdvanceVirtualClock(double ms) {
    if (ms > 0.0) virtualMs += ms;
}

bool IsVirtualClock() { return virtualClock; }

void UseLiveClock() { virtualClock = false; }

double WallSeconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(now).count();
}

}  // namespace platform
