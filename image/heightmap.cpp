// image/heightmap.cpp — reading a heightmap's header and turning its pixels into heights.
#include "image/heightmap.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "image/image_file.h"
#include "image/little_endian.h"
#include "platform/asset_path.h"

namespace {

constexpr std::size_t kHeaderBytes = 54;                        // file header + information header
constexpr long long kMaxHeightmapPixels = 16LL * 1024 * 1024;   // 4096 × 4096

Heightmap Fail(const char* name, const std::string& why) {
    std::fprintf(stderr, "terrain: cannot read %s (%s)\n", name, why.c_str());
    return Heightmap();
}

// The size a header describes, once it has been found sane.
struct HeightmapShape {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::size_t rowBytes = 0;      // 3 bytes per pixel
    std::size_t paddedRow = 0;     // the row rounded up to 4 bytes, as bitmaps store it
};

// Checks the 54 header bytes; on failure `why` says what is wrong.
bool ParseHeader(const unsigned char* header, std::size_t got, HeightmapShape& shape, std::string& why) {
    if (got < 2 || LittleEndianU16(header) != 0x4D42) {
        why = got < 2 ? "empty, or too short to be a picture" : "not a BMP file";
        return false;
    }
    if (got < kHeaderBytes) {
        why = "no complete header (" + std::to_string(got) + " of 54 bytes)";
        return false;
    }
    const std::int32_t width = LittleEndianI32(header + 18);
    const std::int32_t height = LittleEndianI32(header + 22);
    const int bits = LittleEndianU16(header + 28);
    if (bits != 24) {
        why = std::to_string(bits) + " bits per pixel, not 24";
        return false;
    }
    if (width <= 0 || height <= 0) {
        why = "no pixels (" + std::to_string(width) + " × " + std::to_string(height) + ")";
        return false;
    }
    if (static_cast<long long>(width) * height > kMaxHeightmapPixels) {
        why = "claims " + std::to_string(width) + " × " + std::to_string(height) + " pixels, more than it may";
        return false;
    }
    shape.width = width;
    shape.height = height;
    shape.rowBytes = static_cast<std::size_t>(width) * 3;
    shape.paddedRow = (shape.rowBytes + 3) & ~static_cast<std::size_t>(3);
    return true;
}

// Turns the pixel bytes into heights. Rows are read at the bitmap's padded stride when the data
// holds padded rows, and packed when it holds exactly the pixels and nothing more.
Heightmap Decode(const HeightmapShape& shape, const unsigned char* pixels, std::size_t size, float heightScale,
                 float baseLevel, const char* name) {
    const std::size_t rows = static_cast<std::size_t>(shape.height);
    std::size_t stride = shape.paddedRow;
    if (size < stride * rows) stride = shape.rowBytes;
    if (size < stride * rows)
        return Fail(name, "pixel data ends early (" + std::to_string(size) + " of " +
                              std::to_string(shape.paddedRow * rows) + " bytes)");

    const std::size_t width = static_cast<std::size_t>(shape.width);
    Heightmap map;
    map.heights.reset(new float[width * rows]);
    const float offset = heightScale * 255.0f * baseLevel;
    for (std::size_t row = 0; row < rows; ++row) {
        const unsigned char* p = pixels + row * stride;
        for (std::size_t column = 0; column < width; ++column, p += 3) {
            const int grey = (p[0] + p[1] + p[2]) / 3;
            map.heights[row * width + column] = static_cast<float>(grey) * heightScale - offset;
        }
    }
    map.width = shape.width;
    map.height = shape.height;
    return map;
}

}  // namespace

Heightmap ReadHeightmap(const unsigned char* bytes, std::size_t size, float heightScale, float baseLevel,
                        const char* name) {
    if (!name) name = "heightmap";
    HeightmapShape shape;
    std::string why;
    if (!bytes) size = 0;
    if (!ParseHeader(bytes, std::min(size, kHeaderBytes), shape, why)) return Fail(name, why);
    return Decode(shape, bytes + kHeaderBytes, size - kHeaderBytes, heightScale, baseLevel, name);
}

Heightmap LoadHeightmap(const char* path, float heightScale, float baseLevel) {
    const char* name = path ? path : "(no heightmap name)";
    std::FILE* file = path ? platform::OpenAsset(path, "rb") : nullptr;
    if (!file) {
        const std::string problem = path ? platform::AssetFileProblem(path) : "no name given";
        std::fprintf(stderr, "terrain: cannot open %s (%s)\n", name, problem.c_str());
        return Heightmap();
    }
    unsigned char header[kHeaderBytes] = {};
    const std::size_t got = std::fread(header, 1, sizeof header, file);
    HeightmapShape shape;
    std::string why;
    if (!ParseHeader(header, got, shape, why)) {
        std::fclose(file);
        return Fail(name, why);
    }
    // The header is sane, so the padded pixel block is bounded; read at most that much, growing
    // the buffer only with the data the file holds, so a header alone cannot claim the block.
    std::vector<std::uint8_t> pixels;
    ReadUpTo(file, shape.paddedRow * static_cast<std::size_t>(shape.height), pixels);
    std::fclose(file);
    return Decode(shape, pixels.data(), pixels.size(), heightScale, baseLevel, name);
}
