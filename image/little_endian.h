// image/little_endian.h — the little-endian fields of the binary files the readers take apart.
#pragma once

#include <cstdint>

// The 16-bit unsigned field at `p`.
inline std::uint16_t LittleEndianU16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// The 32-bit signed field at `p`, two's complement.
inline std::int32_t LittleEndianI32(const unsigned char* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                     (static_cast<std::uint32_t>(p[2]) << 16) |
                                     (static_cast<std::uint32_t>(p[3]) << 24));
}

// The 32-bit unsigned field at `p`.
inline std::uint32_t LittleEndianU32(const unsigned char* p) { return static_cast<std::uint32_t>(LittleEndianI32(p)); }
