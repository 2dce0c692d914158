// tools/png_writer.cpp — the PNG encoder: libpng writing into a byte vector.
#include "tools/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

#include "tools/bmp_writer.h"
#include "tools/output_file.h"

namespace assets {
namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

// Only libpng calls sit between setjmp and the end, so nothing local changes behind longjmp.
bool WriteImage(png_structp png, png_infop info, int width, int height, png_bytepp rows,
                std::vector<std::uint8_t>* out) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, AppendBytes, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

}  // namespace

std::vector<std::uint8_t> EncodePNG(const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return {};
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(picture.width) * picture.height * 4);
    std::vector<png_bytep> rows(static_cast<std::size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * picture.width * 4;
        rows[static_cast<std::size_t>(y)] = row;
        for (int x = 0; x < picture.width; ++x) {
            const Colour c = picture.Get(x, y);
            row[x * 4 + 0] = ToByte(c.x);
            row[x * 4 + 1] = ToByte(c.y);
            row[x * 4 + 2] = ToByte(c.z);
            row[x * 4 + 3] = ToByte(picture.Alpha(x, y));
        }
    }
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = info && WriteImage(png, info, picture.width, picture.height, rows.data(), &out);
    png_destroy_write_struct(&png, info ? &info : nullptr);
    if (!ok) out.clear();
    return out;
}

bool WritePNG(const std::string& root, const std::string& relative, const Picture& picture) {
    const std::vector<std::uint8_t> bytes = EncodePNG(picture);
    if (bytes.empty()) {
        std::fprintf(stderr, "assets: cannot encode %s/%s\n", root.c_str(), relative.c_str());
        return false;
    }
    return WriteAssetFile(root, relative, bytes);
}

}  // namespace assets
