// tools/tga_writer.cpp — the 32-bit Targa encoder.
#include "tools/tga_writer.h"

#include "tools/bmp_writer.h"
#include "tools/output_file.h"

namespace assets {

std::vector<std::uint8_t> EncodeTGA(const Picture& picture) {
    std::vector<std::uint8_t> out;
    out.reserve(18 + static_cast<std::size_t>(picture.width) * picture.height * 4);
    out.push_back(0);   // no image ID
    out.push_back(0);   // no colour map
    out.push_back(2);   // uncompressed true colour
    for (int i = 0; i < 5; ++i) out.push_back(0);   // colour-map fields
    PutU16(out, 0);     // x origin
    PutU16(out, 0);     // y origin
    PutU16(out, static_cast<std::uint32_t>(picture.width));
    PutU16(out, static_cast<std::uint32_t>(picture.height));
    out.push_back(32);
    out.push_back(8);   // eight alpha bits, origin at the bottom left
    for (int y = picture.height - 1; y >= 0; --y)
        for (int x = 0; x < picture.width; ++x) {
            const Colour c = picture.Get(x, y);
            out.push_back(ToByte(c.z));
            out.push_back(ToByte(c.y));
            out.push_back(ToByte(c.x));
            out.push_back(ToByte(picture.Alpha(x, y)));
        }
    return out;
}

bool WriteTGA(const std::string& root, const std::string& relative, const Picture& picture) {
    return WriteAssetFile(root, relative, EncodeTGA(picture));
}

}  // namespace assets
