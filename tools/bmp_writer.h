// tools/bmp_writer.h — encodes pictures as uncompressed 24-bit Windows bitmaps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/picture.h"

namespace assets {

// 54-byte headers, blue-green-red pixels, rows bottom-up and padded to 4 bytes.
std::vector<std::uint8_t> EncodeBMP(const Picture& picture);

// Encodes and writes root/relative.
bool WriteBMP(const std::string& root, const std::string& relative, const Picture& picture);

// Channel value 0..1 to a byte, clamped and rounded.
std::uint8_t ToByte(float value);

}  // namespace assets
