// The PNG encoder: rows top first, colours kept from BGRA.
#include <gtest/gtest.h>

#include <zlib.h>
#include <string>
#include <vector>

#include "image/png_writer.h"

TEST(PngWriter, EncodesRowsTopFirst) {
    const std::uint8_t rgb[] = {1, 2, 3, 4, 5, 6};   // 1 × 2: bottom row first
    const std::vector<std::uint8_t> png = EncodePNG(1, 2, rgb);
    ASSERT_GT(png.size(), 8u + 25 + 12);
    EXPECT_EQ(png[1], 'P');
    // IDAT starts after the signature (8) and the IHDR chunk (25).
    const std::size_t idat = 8 + 25;
    const std::uint32_t length = (png[idat] << 24) | (png[idat + 1] << 16) | (png[idat + 2] << 8) | png[idat + 3];
    std::vector<std::uint8_t> raw(8);
    uLongf rawSize = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &rawSize, png.data() + idat + 8, length), Z_OK);
    EXPECT_EQ(raw, (std::vector<std::uint8_t>{0, 4, 5, 6, 0, 1, 2, 3}));
}

TEST(PngWriter, FromBgraKeepsColoursAndPutsTheTopRowFirst) {
    // 1 × 2, bottom row first: a blue-ish pixel below a red one.
    const std::uint8_t bgra[] = {30, 20, 10, 255, 0, 0, 200, 255};
    const std::vector<std::uint8_t> png = EncodePNGFromBGRA(1, 2, bgra);
    const std::size_t idat = 8 + 25;
    ASSERT_GT(png.size(), idat + 8);
    ASSERT_EQ(std::string(png.begin() + idat + 4, png.begin() + idat + 8), "IDAT");
    const std::uint32_t length = (png[idat] << 24) | (png[idat + 1] << 16) | (png[idat + 2] << 8) | png[idat + 3];
    std::vector<std::uint8_t> raw(8);
    uLongf rawSize = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &rawSize, png.data() + idat + 8, length), Z_OK);
    EXPECT_EQ(rawSize, 8u);
    EXPECT_EQ(raw, (std::vector<std::uint8_t>{0, 200, 0, 0, 0, 10, 20, 30}));
}
