// The icon the generator draws: a 256 × 256 RGBA PNG, a rounded tile with the chrome ball on it.
#include <gtest/gtest.h>

#include <png.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "support/gl_test_context.h"

namespace {

struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<png_byte> pixels;   // rows top first, 4 bytes a pixel
    const png_byte* At(int x, int y) const { return &pixels[(static_cast<std::size_t>(y) * width + x) * 4]; }
};

// Decodes through libpng's simplified API; empty on any error.
Rgba ReadPNG(const std::string& path) {
    Rgba result;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return result;
    image.format = PNG_FORMAT_RGBA;
    result.pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, result.pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return {};
    }
    result.width = static_cast<int>(image.width);
    result.height = static_cast<int>(image.height);
    return result;
}

}  // namespace

TEST(Icon, IsARoundedTileWithTheBallOnIt) {
    const std::string path = testing_support::TestAssetRoot() + "/undertow.png";
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr) << path;
    png_byte header[26] = {};
    ASSERT_EQ(std::fread(header, 1, sizeof header, file), sizeof header);
    std::fclose(file);
    EXPECT_EQ(png_sig_cmp(header, 0, 8), 0);
    EXPECT_EQ(header[24], 8);   // bit depth
    EXPECT_EQ(header[25], 6);   // colour type: RGB with alpha

    const Rgba icon = ReadPNG(path);
    ASSERT_EQ(icon.width, 256);
    ASSERT_EQ(icon.height, 256);
    // Clear outside the rounded corners and the margin, opaque inside the tile.
    for (auto [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}, {12, 12}, {128, 2}}) {
        EXPECT_EQ(icon.At(x, y)[3], 0) << x << "," << y;
    }
    for (auto [x, y] : {std::pair{128, 12}, {12, 128}, {128, 128}, {60, 200}}) {
        EXPECT_EQ(icon.At(x, y)[3], 255) << x << "," << y;
    }
    // The ball is a picture, not a flat disc: its pixels spread over many shades.
    double sum = 0, sumSquares = 0;
    int count = 0;
    for (int y = 60; y < 170; ++y) {
        for (int x = 74; x < 182; ++x) {
            const png_byte* p = icon.At(x, y);
            const double value = (p[0] + p[1] + p[2]) / 3.0;
            sum += value;
            sumSquares += value * value;
            ++count;
        }
    }
    const double mean = sum / count;
    EXPECT_GT(mean, 25.0);
    EXPECT_GT(std::sqrt(sumSquares / count - mean * mean), 15.0);
}
