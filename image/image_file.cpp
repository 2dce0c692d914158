// image/image_file.cpp — the BMP and TGA readers and the type probe.
//
// Counts from a header are checked against the stream before anything is allocated: a
// hostile header can neither make the reader allocate without bound nor read past the data.
// A file shorter than its header promises yields a picture whose missing bytes are zero.
#include "image/image_file.h"

#include <cstring>

#include "platform/asset_path.h"

namespace {

std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::int32_t I32(const unsigned char* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                     (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
}

// Bytes left in the stream after the current position; -1 when it cannot be told.
long RemainingBytes(std::FILE* file) {
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long end = std::ftell(file);
    std::fseek(file, here, SEEK_SET);
    return end < here ? 0 : end - here;
}

// Stores the picture's fields and reads its pixels; false when the size makes no sense.
bool ReadPixels(std::FILE* file, std::int32_t width, std::int32_t height, std::int32_t bits,
                Image& image) {
    // Each factor is checked before the product, so no multiplication can overflow.
    const bool sane = width >= 0 && height >= 0 && bits >= 0 &&
                      static_cast<long long>(width) * height <= kMaxImageBytes &&
                      static_cast<long long>(width) * height * (bits / 8) <= kMaxImageBytes;
    if (!sane) return false;
    const long long count = static_cast<long long>(width) * height * (bits / 8);
    const long remaining = RemainingBytes(file);
    image.width = width;
    image.height = height;
    image.bitsPerPixel = bits;
    image.pixels.assign(static_cast<std::size_t>(count), 0);
    long long wanted = count;
    if (remaining >= 0 && remaining < wanted) wanted = remaining;   // short file: rest stays zero
    if (wanted > 0) std::fread(image.pixels.data(), 1, static_cast<std::size_t>(wanted), file);
    return true;
}

bool ReadHeader(const char* path, unsigned char* header, std::size_t size) {
    std::FILE* file = platform::OpenAsset(path, "rb");
    if (!file) return false;
    const bool ok = std::fread(header, 1, size, file) == size;
    std::fclose(file);
    return ok;
}

bool LoadWith(const char* path, Image& image, bool (*reader)(std::FILE*, Image&)) {
    std::FILE* file = platform::OpenAsset(path, "rb");
    if (!file) {
        std::fprintf(stderr, "images: cannot open %s (no such file)\n", path);
        return false;
    }
    const bool ok = reader(file, image);
    std::fclose(file);
    if (!ok) std::fprintf(stderr, "images: cannot read %s (damaged, or not a picture this program reads)\n", path);
    return ok;
}

}  // namespace

bool ReadBMP(std::FILE* file, Image& image) {
    unsigned char header[54];
    std::memset(header, 0, sizeof header);
    const std::size_t got = std::fread(header, 1, sizeof header, file);
    if (got < 2 || U16(header) != 0x4D42) return false;
    if (got < sizeof header) return false;   // no size fields: nothing sensible to read
    const std::int32_t width = I32(header + 18);
    const std::int32_t height = I32(header + 22);
    const std::int32_t bits = U16(header + 28);
    if (!ReadPixels(file, width, height, bits, image)) return false;
    if (bits == 24) SwapRedBlue(image);   // stored blue, green, red; 32-bit keeps file order
    return true;
}

bool ReadTGA(std::FILE* file, Image& image) {
    unsigned char header[18];
    if (std::fread(header, 1, sizeof header, file) != sizeof header) return false;
    const std::int32_t width = U16(header + 12);
    const std::int32_t height = U16(header + 14);
    const std::int32_t bits = header[16];
    if (!ReadPixels(file, width, height, bits, image)) return false;
    SwapRedBlue(image);   // blue, green, red (, alpha); an 8-bit picture is left alone
    return true;
}

bool LoadBMP(const char* path, Image& image) { return LoadWith(path, image, ReadBMP); }

bool LoadTGA(const char* path, Image& image) { return LoadWith(path, image, ReadTGA); }

bool IsBMPFile(const char* path) {
    unsigned char header[14];
    return ReadHeader(path, header, sizeof header) && header[0] == 'B' && header[1] == 'M';
}

bool IsTGAFile(const char* path) {
    unsigned char header[18];
    return ReadHeader(path, header, sizeof header) && header[1] == 0 && header[2] == 2;
}

int DetectImageType(const char* path) {
    if (IsBMPFile(path)) return 1;
    if (IsTGAFile(path)) return 2;
    return 0;
}
