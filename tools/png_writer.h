// tools/png_writer.h — encodes pictures as 8-bit RGBA PNG files through libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/picture.h"

namespace assets {

// Rows top first, alpha kept; empty when libpng reports an error.
std::vector<std::uint8_t> EncodePNG(const Picture& picture);

// Encodes and writes root/relative.
bool WritePNG(const std::string& root, const std::string& relative, const Picture& picture);

}  // namespace assets
