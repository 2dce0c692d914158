// image/png_writer.h — writes RGB frames as PNG files (for capture).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Encodes tightly packed RGB rows, bottom row first (GL's order), as a PNG with the top row
// first. `level` is the zlib compression level.
std::vector<std::uint8_t> EncodePNG(int width, int height, const std::uint8_t* rgbBottomUp, int level = 1);

bool WritePNG(const std::string& path, int width, int height, const std::uint8_t* rgbBottomUp);
