// image/stored_rows.cpp — from a file's pixel rows to the packed, bottom-up, red-first Image.
//
// The stored bytes are read in chunks (the buffer grows only with the data the stream
// delivers) and then rearranged in place: padding dropped, rows put bottom-up, pixels
// left-to-right, red and blue exchanged. So a picture never takes more than twice its file's
// size plus kMaxImageShortfall, and a header alone cannot claim a large buffer.
#include "image/stored_rows.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "image/image_file.h"

namespace {

std::string SizeText(const StoredRows& rows) {
    return "size " + std::to_string(rows.width) + " x " + std::to_string(rows.height) + " at " +
           std::to_string(rows.bits) + " bits is out of range";
}

// Drops each row's padding and puts the rows bottom-up and left to right, in place.
void ArrangeRows(std::vector<std::uint8_t>& bytes, const StoredRows& rows, std::size_t rowBytes,
                 std::size_t stride) {
    const std::size_t height = static_cast<std::size_t>(rows.height);
    const std::size_t step = static_cast<std::size_t>(rows.bits / 8);
    if (stride != rowBytes) {
        // Row r moves from r × stride down to r × rowBytes: never over a row not yet moved.
        for (std::size_t r = 1; r < height; ++r)
            std::memmove(bytes.data() + r * rowBytes, bytes.data() + r * stride, rowBytes);
    }
    bytes.resize(rowBytes * height);
    if (rows.topDown) {
        for (std::size_t r = 0; r < height / 2; ++r) {
            std::uint8_t* low = bytes.data() + r * rowBytes;
            std::swap_ranges(low, low + rowBytes, bytes.data() + (height - 1 - r) * rowBytes);
        }
    }
    if (rows.rightToLeft) {
        for (std::size_t r = 0; r < height; ++r) {
            std::uint8_t* left = bytes.data() + r * rowBytes;
            std::uint8_t* right = left + rowBytes;
            while (right - left >= static_cast<std::ptrdiff_t>(2 * step)) {
                right -= step;
                std::swap_ranges(left, left + step, right);
                left += step;
            }
        }
    }
}

// Blue, green, red (, alpha) to red, green, blue (, alpha); a fourth byte that carries no
// alpha becomes opaque.
void ToRedFirst(std::vector<std::uint8_t>& bytes, const StoredRows& rows) {
    const std::size_t step = static_cast<std::size_t>(rows.bits / 8);
    for (std::size_t i = 0; i + step <= bytes.size(); i += step) std::swap(bytes[i], bytes[i + 2]);
    if (step != 4) return;
    bool opaque = rows.ignoreAlpha;
    if (!opaque && rows.zeroAlphaMeansOpaque) {
        opaque = true;
        for (std::size_t i = 3; opaque && i < bytes.size(); i += 4) opaque = bytes[i] == 0;
    }
    if (opaque)
        for (std::size_t i = 3; i < bytes.size(); i += 4) bytes[i] = 255;
}

}  // namespace

bool ReadStoredRows(std::FILE* file, const StoredRows& rows, Image& image, std::string& note) {
    if (rows.bits != 24 && rows.bits != 32) {
        note = std::to_string(rows.bits) + " bits per pixel are not read";
        return false;
    }
    // Each factor is checked before the product, so no multiplication can overflow.
    const std::int64_t bytesPerPixel = rows.bits / 8;
    if (rows.width < 0 || rows.height < 0 || rows.width > kMaxImageBytes || rows.height > kMaxImageBytes ||
        rows.width * rows.height * bytesPerPixel > kMaxImageBytes || rows.rowAlignment < 1 || rows.rowAlignment > 8) {
        note = SizeText(rows);
        return false;
    }
    const std::int64_t rowBytes = rows.width * bytesPerPixel;
    const std::int64_t stride = (rowBytes + rows.rowAlignment - 1) / rows.rowAlignment * rows.rowAlignment;
    if (stride * rows.height > kMaxImageBytes) {
        note = SizeText(rows);
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(stride * rows.height);
    std::vector<std::uint8_t> bytes;
    const std::size_t got = ReadUpTo(file, count, bytes);
    if (got < count) {
        const std::string told = std::to_string(got) + " of the " + std::to_string(count) + " pixel bytes";
        if (count - got > std::max<std::size_t>(got, kMaxImageShortfall)) {
            note = "holds only " + told + " its header promises";
            return false;
        }
        note = "short: holds " + told + "; the rest is black";
        bytes.resize(count, 0);
    }
    ArrangeRows(bytes, rows, static_cast<std::size_t>(rowBytes), static_cast<std::size_t>(stride));
    ToRedFirst(bytes, rows);
    image.width = static_cast<std::int32_t>(rows.width);
    image.height = static_cast<std::int32_t>(rows.height);
    image.bitsPerPixel = rows.bits;
    image.pixels.swap(bytes);
    return true;
}
