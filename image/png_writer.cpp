// image/png_writer.cpp — PNG encoding with libpng into memory, then one write to the file.
#include "image/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// `bytesPerPixel` 3 (RGB) or 4 (BGRA); rows are given bottom first.
std::vector<std::uint8_t> Encode(int width, int height, const std::uint8_t* bottomUp, int bytesPerPixel, int level) {
    std::vector<std::uint8_t> out;
    if (width <= 0 || height <= 0 || !bottomUp) return out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return out;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return out;
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    const std::size_t stride = static_cast<std::size_t>(width) * bytesPerPixel;
    for (int y = 0; y < height; ++y)
        rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(bottomUp + static_cast<std::size_t>(height - 1 - y) * stride);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, level);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    if (bytesPerPixel == 4) {
        png_set_bgr(png);
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    }
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

std::vector<std::uint8_t> EncodePNG(int width, int height, const std::uint8_t* rgbBottomUp, int level) {
    return Encode(width, height, rgbBottomUp, 3, level);
}

std::vector<std::uint8_t> EncodePNGFromBGRA(int width, int height, const std::uint8_t* bgraBottomUp, int level) {
    return Encode(width, height, bgraBottomUp, 4, level);
}

bool WritePNG(const std::string& path, int width, int height, const std::uint8_t* rgbBottomUp) {
    return WriteBytes(path, EncodePNG(width, height, rgbBottomUp));
}

bool WritePNGFromBGRA(const std::string& path, int width, int height, const std::uint8_t* bgraBottomUp) {
    return WriteBytes(path, EncodePNGFromBGRA(width, height, bgraBottomUp));
}
