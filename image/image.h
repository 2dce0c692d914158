// image/image.h — a decoded picture: bottom row first, red first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Image {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 0;    // 8, 24 or 32 as read; other values are kept as read
    std::vector<std::uint8_t> pixels; // width × height × bytes per pixel, tightly packed

    bool IsEmpty() const { return pixels.empty(); }
    // Bytes per row of the tightly packed buffer.
    std::size_t RowBytes() const;
};

// Exchanges the first and third byte of every pixel of a 24- or 32-bit image.
bool SwapRedBlue(Image& image);
