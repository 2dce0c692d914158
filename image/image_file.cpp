// image/image_file.cpp — the BMP and TGA readers and the type probe.
//
// The readers take from a header where the pixels start and how their rows are laid out, and
// leave the reading of the rows to ReadStoredRows. A file shorter than its header promises is
// still a picture, its missing bytes zero (black), as long as it delivers at least half of its
// pixel bytes or misses no more than kMaxImageShortfall; past that it is refused. What they do
// not read (compression, palettes, other depths) they refuse with the reason.
#include "image/image_file.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "image/little_endian.h"
#include "image/stored_rows.h"
#include "platform/asset_path.h"

namespace {

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

namespace {

// BMP compression methods the reader takes: none, and bit masks that give the plain layout.
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

// Reads and drops `count` bytes; false when the stream ends first.
bool Skip(std::FILE* file, std::uint64_t count) {
    unsigned char buffer[4096];
    while (count > 0) {
        const std::size_t part = count < sizeof buffer ? static_cast<std::size_t>(count) : sizeof buffer;
        if (std::fread(buffer, 1, part, file) != part) return false;
        count -= part;
    }
    return true;
}

// What a BMP's information header says beyond the size: whether the reader takes the file and
// how the fourth byte of a 32-bit pixel is to be read.
bool CheckBMPLayout(const unsigned char* header, StoredRows& rows, std::string& note) {
    const std::uint32_t infoSize = LittleEndianU32(header + 14);
    const std::uint32_t compression = LittleEndianU32(header + 30);
    const bool masked = compression == kBitFields || compression == kAlphaBitFields;
    if (rows.bits == 1 || rows.bits == 4 || rows.bits == 8) {
        note = "palette pictures (" + std::to_string(rows.bits) + " bits per pixel) are not read";
    } else if (compression != kUncompressed && !masked) {
        note = "compressed pictures (method " + std::to_string(compression) + ") are not read";
    } else if (masked && rows.bits != 32) {
        note = std::to_string(rows.bits) + "-bit pictures with bit masks are not read";
    } else if (masked) {
        // The masks follow a 40-byte information header and lie inside the larger ones; the
        // alpha mask is there from the 56-byte header on, or with its own method.
        const std::uint32_t alpha =
            infoSize >= 56 || compression == kAlphaBitFields ? LittleEndianU32(header + 66) : 0;
        if (LittleEndianU32(header + 54) != 0x00FF0000u || LittleEndianU32(header + 58) != 0x0000FF00u ||
            LittleEndianU32(header + 62) != 0x000000FFu || (alpha != 0 && alpha != 0xFF000000u)) {
            note = "bit masks other than blue, green, red and alpha bytes are not read";
        }
        rows.ignoreAlpha = alpha == 0;
    } else {
        // The fourth byte is reserved, but many programs keep alpha in it.
        rows.zeroAlphaMeansOpaque = true;
    }
    return note.empty();
}

}  // namespace

bool ReadBMP(std::FILE* file, Image& image, std::string& note) {
    unsigned char header[70];   // file header, information header and the bit masks after it
    std::memset(header, 0, sizeof header);
    const std::size_t got = std::fread(header, 1, 54, file);
    if (got < 2 || LittleEndianU16(header) != 0x4D42) {
        note = got < 2 ? "empty, or too short to be a picture" : "not a BMP file";
        return false;
    }
    if (got < 54) {   // no size fields: nothing sensible to read
        note = "no complete header (" + std::to_string(got) + " of 54 bytes)";
        return false;
    }
    const std::uint32_t offset = LittleEndianU32(header + 10);
    const std::uint32_t infoSize = LittleEndianU32(header + 14);
    const std::uint32_t compression = LittleEndianU32(header + 30);
    if (infoSize < 40) {
        note = "an OS/2 bitmap header (" + std::to_string(infoSize) + " bytes) is not read";
        return false;
    }
    StoredRows rows;
    rows.width = LittleEndianI32(header + 18);
    rows.height = LittleEndianI32(header + 22);
    rows.bits = LittleEndianU16(header + 28);
    rows.rowAlignment = 4;
    if (rows.height < 0) {   // rows stored from the top
        rows.height = -rows.height;
        rows.topDown = true;
    }
    std::uint64_t headersEnd = 14ull + infoSize;
    if (infoSize == 40 && compression == kBitFields) headersEnd += 12;
    if (infoSize == 40 && compression == kAlphaBitFields) headersEnd += 16;
    if (offset < headersEnd) {
        note = "pixel data at offset " + std::to_string(offset) + " lies inside the headers";
        return false;
    }
    // The rest of the headers, as far as the masks go; whatever else lies before the pixels
    // (a larger header, a palette, a gap) is passed over.
    const std::size_t keep = std::min<std::size_t>(offset, sizeof header) - 54;
    if (std::fread(header + 54, 1, keep, file) != keep || !Skip(file, offset - 54 - keep)) {
        note = "ends before its pixel data at offset " + std::to_string(offset);
        return false;
    }
    if (!CheckBMPLayout(header, rows, note)) return false;
    return ReadStoredRows(file, rows, image, note);
}

bool ReadTGA(std::FILE* file, Image& image, std::string& note) {
    unsigned char header[18];
    const std::size_t got = std::fread(header, 1, sizeof header, file);
    if (got != sizeof header) {
        note = "no complete header (" + std::to_string(got) + " of 18 bytes)";
        return false;
    }
    const unsigned idLength = header[0], mapType = header[1], imageType = header[2];
    if (imageType != 2) {
        note = "image type " + std::to_string(imageType) + " is not read, only uncompressed true colour (2)";
        return false;
    }
    if (mapType > 1) {
        note = "colour-map type " + std::to_string(mapType) + " is not read";
        return false;
    }
    // A true-colour picture may still carry a colour map; it is passed over with the image ID.
    const std::uint64_t mapBytes = mapType == 1 ? LittleEndianU16(header + 5) * ((header[7] + 7u) / 8u) : 0;
    if (!Skip(file, idLength + mapBytes)) {
        note = "ends inside its image ID or colour map";
        return false;
    }
    StoredRows rows;
    rows.width = LittleEndianU16(header + 12);
    rows.height = LittleEndianU16(header + 14);
    rows.bits = header[16];
    rows.topDown = (header[17] & 0x20) != 0;
    rows.rightToLeft = (header[17] & 0x10) != 0;
    return ReadStoredRows(file, rows, image, note);
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
