// tools/tga_writer.h — encodes pictures with alpha as uncompressed 32-bit Targa files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/picture.h"

namespace assets {

// 18-byte header, image type 2, blue-green-red-alpha pixels, rows bottom-up.
std::vector<std::uint8_t> EncodeTGA(const Picture& picture);

bool WriteTGA(const std::string& root, const std::string& relative, const Picture& picture);

}  // namespace assets
