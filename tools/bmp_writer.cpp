// tools/bmp_writer.cpp — the 24-bit BMP encoder.
#include "tools/bmp_writer.h"

#include "tools/output_file.h"

namespace assets {

std::uint8_t ToByte(float value) {
    return static_cast<std::uint8_t>(Clamp01(value) * 255.0f + 0.5f);
}

std::vector<std::uint8_t> EncodeBMP(const Picture& picture) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(picture.width) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(picture.height);
    std::vector<std::uint8_t> out;
    out.reserve(54 + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, 54 + pixelBytes);   // file size
    PutU32(out, 0);                 // reserved
    PutU32(out, 54);                // pixel data offset
    PutU32(out, 40);                // information header size
    PutU32(out, static_cast<std::uint32_t>(picture.width));
    PutU32(out, static_cast<std::uint32_t>(picture.height));   // positive: bottom-up
    PutU16(out, 1);                 // planes
    PutU16(out, 24);                // bits per pixel
    PutU32(out, 0);                 // no compression
    PutU32(out, pixelBytes);
    PutU32(out, 2835);              // 72 dots per inch, both ways
    PutU32(out, 2835);
    PutU32(out, 0);                 // no palette
    PutU32(out, 0);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const Colour c = picture.Get(x, y);
            out.push_back(ToByte(c.z));
            out.push_back(ToByte(c.y));
            out.push_back(ToByte(c.x));
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(picture.width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

bool WriteBMP(const std::string& root, const std::string& relative, const Picture& picture) {
    return WriteAssetFile(root, relative, EncodeBMP(picture));
}

}  // namespace assets
