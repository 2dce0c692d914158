// fuzz/picture_expectation.h — what a picture reader must make of a given file, worked out
// independently of the reader: the layout from the header, then the accept-or-refuse rule for
// short data, and the exact pixel bytes, taken pixel by pixel from where the layout puts them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "image/image_file.h"

namespace fuzz {

struct PictureExpectation {
    bool accepted = false;
    bool shortData = false;
    std::int32_t width = 0, height = 0, bits = 0;
    std::vector<std::uint8_t> pixels;
};

// Where and how a file stores its pixels, as its header says; `readable` is false for what the
// reader must refuse whatever follows.
struct StoredLayout {
    bool readable = false;
    std::int64_t width = 0, height = 0, bits = 0;
    std::int64_t alignment = 1;    // each row padded to a multiple of this
    std::uint64_t pixelsAt = 0;    // file offset of the first stored row
    bool topDown = false, rightToLeft = false;
    enum Alpha { Keep, Opaque, OpaqueWhenAllZero } alpha = Keep;
};

inline PictureExpectation ExpectPicture(const std::uint8_t* data, std::size_t size, const StoredLayout& layout) {
    PictureExpectation e;
    if (!layout.readable || (layout.bits != 24 && layout.bits != 32) || layout.pixelsAt > size) return e;
    const std::int64_t bytes = layout.bits / 8;
    if (layout.width < 0 || layout.height < 0 || layout.width > kMaxImageBytes || layout.height > kMaxImageBytes ||
        layout.width * layout.height * bytes > kMaxImageBytes)
        return e;
    const std::int64_t stride = (layout.width * bytes + layout.alignment - 1) / layout.alignment * layout.alignment;
    if (stride * layout.height > kMaxImageBytes) return e;
    const std::size_t count = static_cast<std::size_t>(stride * layout.height);
    const std::size_t have = std::min<std::size_t>(count, size - layout.pixelsAt);
    if (count - have > std::max(have, kMaxImageShortfall)) return e;
    e.accepted = true;
    e.shortData = have < count;
    e.width = static_cast<std::int32_t>(layout.width);
    e.height = static_cast<std::int32_t>(layout.height);
    e.bits = static_cast<std::int32_t>(layout.bits);
    const auto storedByte = [&](std::uint64_t at) -> std::uint8_t {
        return at < layout.pixelsAt + have ? data[at] : 0;
    };
    bool allZeroAlpha = true;
    for (std::int64_t y = 0; y < layout.height; ++y)
        for (std::int64_t x = 0; x < layout.width; ++x) {
            const std::int64_t row = layout.topDown ? layout.height - 1 - y : y;
            const std::int64_t column = layout.rightToLeft ? layout.width - 1 - x : x;
            const std::uint64_t at = layout.pixelsAt + static_cast<std::uint64_t>(row * stride + column * bytes);
            e.pixels.push_back(storedByte(at + 2));
            e.pixels.push_back(storedByte(at + 1));
            e.pixels.push_back(storedByte(at));
            if (bytes == 4) {
                e.pixels.push_back(storedByte(at + 3));
                allZeroAlpha = allZeroAlpha && e.pixels.back() == 0;
            }
        }
    const bool opaque = layout.alpha == StoredLayout::Opaque ||
                        (layout.alpha == StoredLayout::OpaqueWhenAllZero && allZeroAlpha);
    if (bytes == 4 && opaque)
        for (std::size_t i = 3; i < e.pixels.size(); i += 4) e.pixels[i] = 255;
    return e;
}

// Checks a picture the reader accepted against what was expected of it; `note` is the reader's.
inline void CheckAcceptedPicture(const Image& image, const std::string& note, const PictureExpectation& expected) {
    FUZZ_CHECK(note.empty() != expected.shortData);
    FUZZ_CHECK(image.width == expected.width && image.height == expected.height);
    FUZZ_CHECK(image.bitsPerPixel == expected.bits);
    FUZZ_CHECK(image.pixels == expected.pixels);
}

}  // namespace fuzz
