// image/image.cpp — helpers on decoded pictures.
#include "image/image.h"

std::size_t Image::RowBytes() const {
    if (width <= 0 || bitsPerPixel <= 0) return 0;
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel / 8);
}

bool SwapRedBlue(Image& image) {
    if (image.bitsPerPixel != 24 && image.bitsPerPixel != 32) return false;
    const std::size_t stride = static_cast<std::size_t>(image.bitsPerPixel / 8);
    for (std::size_t i = 0; i + 2 < image.pixels.size(); i += stride) {
        const std::uint8_t red = image.pixels[i];
        image.pixels[i] = image.pixels[i + 2];
        image.pixels[i + 2] = red;
    }
    return true;
}
