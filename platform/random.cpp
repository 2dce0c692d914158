// platform/random.cpp — state × 214013 + 2531011, value = bits 16..30 of the state.
#include "platform/random.h"

#include <cstdint>

namespace platform {
namespace {

std::uint32_t state = 1;

}  // namespace

int Rand() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

void SRand(unsigned seed) { state = seed; }

}  // namespace platform
