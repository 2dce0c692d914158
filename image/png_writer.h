// image/png_writer.h — writes frames as PNG files (for capture), through libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Encodes tightly packed RGB rows, bottom row first (GL's order), as a PNG with the top row
// first. `level` is the zlib compression level. Empty when libpng fails.
std::vector<std::uint8_t> EncodePNG(int width, int height, const std::uint8_t* rgbBottomUp, int level = 1);

// The same from BGRA rows (the fourth byte is dropped).
std::vector<std::uint8_t> EncodePNGFromBGRA(int width, int height, const std::uint8_t* bgraBottomUp, int level = 1);

bool WritePNG(const std::string& path, int width, int height, const std::uint8_t* rgbBottomUp);
bool WritePNGFromBGRA(const std::string& path, int width, int height, const std::uint8_t* bgraBottomUp);
