// image/image_file.cpp — the BMP and TGA readers and the type probe.
//
// A header's size is checked against a fixed bound, and the pixels are read in chunks, so the
// buffer grows only with the data the stream delivers. A file shorter than its header promises
// is still a picture, its missing bytes zero (black), as long as it delivers at least half of
// its pixel bytes or misses no more than kMaxImageShortfall; past that it is refused. So a
// picture never takes more than twice its file's size plus that slack, and a header alone
// cannot claim a large buffer.
#include "image/image_file.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "image/little_endian.h"
#include "platform/asset_path.h"

namespace {

// Checks the size, reads the pixels and, when they are acceptable, stores the picture; on
// refusal the image stays as it was. `note` says why a picture was refused or came short.
bool ReadPixels(std::FILE* file, std::int32_t width, std::int32_t height, std::int32_t bits,
                Image& image, std::string& note) {
    // Each factor is checked before the product, so no multiplication can overflow.
    const bool sane = width >= 0 && height >= 0 && bits >= 0 &&
                      static_cast<long long>(width) * height <= kMaxImageBytes &&
                      static_cast<long long>(width) * height * (bits / 8) <= kMaxImageBytes;
    if (!sane) {
        note = "size " + std::to_string(width) + " x " + std::to_string(height) + " at " + std::to_string(bits) +
               " bits is out of range";
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(width) * height * (bits / 8);
    std::vector<std::uint8_t> pixels;
    const std::size_t got = ReadUpTo(file, count, pixels);
    if (got < count) {
        const std::string told = std::to_string(got) + " of the " + std::to_string(count) + " pixel bytes";
        if (count - got > std::max<std::size_t>(got, kMaxImageShortfall)) {
            note = "holds only " + told + " its header promises";
            return false;
        }
        note = "short: holds " + told + "; the rest is black";
        pixels.resize(count, 0);
    }
    image.width = width;
    image.height = height;
    image.bitsPerPixel = bits;
    image.pixels.swap(pixels);
    return true;
}

bool ReadHeader(const char* path, unsigned char* header, std::size_t size) {
    std::FILE* file = platform::OpenAsset(path, "rb");
    if (!file) return false;
    const bool ok = std::fread(header, 1, size, file) == size;
    std::fclose(file);
    return ok;
}

bool LoadWith(const char* path, Image& image, bool (*reader)(std::FILE*, Image&, std::string&)) {
    std::FILE* file = platform::OpenAsset(path, "rb");
    if (!file) {
        std::fprintf(stderr, "images: cannot open %s (%s)\n", path, platform::AssetFileProblem(path).c_str());
        return false;
    }
    std::string note;
    const bool ok = reader(file, image, note);
    const bool failedRead = std::ferror(file) != 0;
    std::fclose(file);
    if (!ok) {
        if (failedRead) note = "a read failed";
        std::fprintf(stderr, "images: cannot read %s (%s)\n", path, note.c_str());
    } else if (!note.empty()) {
        std::fprintf(stderr, "images: %s is %s\n", path, note.c_str());
    }
    return ok;
}

}  // namespace

std::size_t ReadUpTo(std::FILE* file, std::size_t count, std::vector<std::uint8_t>& out) {
    constexpr std::size_t kChunk = 1 << 20;
    out.clear();
    while (out.size() < count) {
        const std::size_t at = out.size();
        const std::size_t part = std::min(kChunk, count - at);
        out.resize(at + part);
        const std::size_t got = std::fread(out.data() + at, 1, part, file);
        out.resize(at + got);
        if (got < part) break;
    }
    return out.size();
}

bool ReadBMP(std::FILE* file, Image& image, std::string& note) {
    unsigned char header[54];
    std::memset(header, 0, sizeof header);
    const std::size_t got = std::fread(header, 1, sizeof header, file);
    if (got < 2 || LittleEndianU16(header) != 0x4D42) {
        note = got < 2 ? "empty, or too short to be a picture" : "not a BMP file";
        return false;
    }
    if (got < sizeof header) {   // no size fields: nothing sensible to read
        note = "no complete header (" + std::to_string(got) + " of 54 bytes)";
        return false;
    }
    const std::int32_t width = LittleEndianI32(header + 18);
    const std::int32_t height = LittleEndianI32(header + 22);
    const std::int32_t bits = LittleEndianU16(header + 28);
    if (!ReadPixels(file, width, height, bits, image, note)) return false;
    if (bits == 24) SwapRedBlue(image);   // stored blue, green, red; 32-bit keeps file order
    return true;
}

bool ReadTGA(std::FILE* file, Image& image, std::string& note) {
    unsigned char header[18];
    const std::size_t got = std::fread(header, 1, sizeof header, file);
    if (got != sizeof header) {
        note = "no complete header (" + std::to_string(got) + " of 18 bytes)";
        return false;
    }
    const std::int32_t width = LittleEndianU16(header + 12);
    const std::int32_t height = LittleEndianU16(header + 14);
    const std::int32_t bits = header[16];
    if (!ReadPixels(file, width, height, bits, image, note)) return false;
    SwapRedBlue(image);   // blue, green, red (, alpha); an 8-bit picture is left alone
    return true;
}

bool ReadBMP(std::FILE* file, Image& image) {
    std::string note;
    return ReadBMP(file, image, note);
}

bool ReadTGA(std::FILE* file, Image& image) {
    std::string note;
    return ReadTGA(file, image, note);
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
