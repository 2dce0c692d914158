// fuzz/picture_expectation.h — what a picture reader must make of a given file, worked out
// independently of the reader: the size from the header, then the accept-or-refuse rule for
// short data, and the exact pixel bytes.
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

// `pixelsAt` is where the pixel data starts; `swap` whether red and blue trade places.
inline PictureExpectation ExpectPicture(const std::uint8_t* data, std::size_t size, std::size_t pixelsAt,
                                        std::int64_t width, std::int64_t height, std::int64_t bits, bool swap) {
    PictureExpectation e;
    if (width < 0 || height < 0 || bits < 0 || width * height > kMaxImageBytes ||
        width * height * (bits / 8) > kMaxImageBytes)
        return e;
    const std::size_t count = static_cast<std::size_t>(width * height * (bits / 8));
    const std::size_t have = size > pixelsAt ? std::min(count, size - pixelsAt) : 0;
    if (count - have > std::max(have, kMaxImageShortfall)) return e;
    e.accepted = true;
    e.shortData = have < count;
    e.width = static_cast<std::int32_t>(width);
    e.height = static_cast<std::int32_t>(height);
    e.bits = static_cast<std::int32_t>(bits);
    e.pixels.assign(count, 0);
    std::copy(data + pixelsAt, data + pixelsAt + have, e.pixels.begin());
    if (swap && (bits == 24 || bits == 32)) {
        const std::size_t step = static_cast<std::size_t>(bits / 8);
        const std::size_t pixels = static_cast<std::size_t>(width * height);
        for (std::size_t p = 0; p < pixels; ++p) std::swap(e.pixels[p * step], e.pixels[p * step + 2]);
    }
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
