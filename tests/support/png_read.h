// tests/support/png_read.h — reads a PNG file (the program's captured frames) as RGB.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Tightly packed RGB rows, top row first; empty when the file cannot be read.
std::vector<std::uint8_t> ReadPngRgb(const std::string& path, int& width, int& height);

}  // namespace testing_support
