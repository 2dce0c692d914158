// The BMP and TGA readers on plain pictures as other programs write them (larger headers,
// padded rows, either row order, 32-bit layouts, image IDs and origins), the forms they do not
// read, and every picture the generator writes read exactly as the demo has always read it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "image/image_file.h"
#include "platform/asset_path.h"
#include "support/bmp_files.h"
#include "support/gl_test_context.h"

using testing_support::MakeBMP;
using testing_support::MakeTGA;
using testing_support::WriteFile;

namespace {

void Put32(std::vector<std::uint8_t>& file, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A BMP with an information header of `infoSize` bytes (zero-filled past the first 40), then
// `gap` unused bytes before the pixels, the pixel-data offset saying where they are.
std::vector<std::uint8_t> LargerHeaderBMP(int width, int height, int bits, const std::vector<std::uint8_t>& pixels,
                                          std::uint32_t infoSize, std::size_t gap) {
    std::vector<std::uint8_t> file = MakeBMP(width, height, bits, pixels);
    file.insert(file.begin() + 54, infoSize - 40 + gap, 0xEE);
    std::fill(file.begin() + 54, file.begin() + 14 + infoSize, 0);
    Put32(file, 10, 14 + infoSize + static_cast<std::uint32_t>(gap));
    Put32(file, 14, infoSize);
    return file;
}

// The red, green, blue bytes of a 3 × 2 test picture, bottom row first.
const std::vector<std::uint8_t> kPicture = {10, 11, 12, 20, 21, 22, 30, 31, 32,    // bottom row
                                            40, 41, 42, 50, 51, 52, 60, 61, 62};   // top row

// kPicture's rows stored as a file does: blue first, `pad` bytes after each row, from the top
// when `topDown`, each row from the right when `rightToLeft`.
std::vector<std::uint8_t> Stored(std::size_t pad, bool topDown, bool rightToLeft = false) {
    std::vector<std::uint8_t> out;
    for (int r = 0; r < 2; ++r) {
        const int row = topDown ? 1 - r : r;
        for (int c = 0; c < 3; ++c) {
            const int column = rightToLeft ? 2 - c : c;
            const std::uint8_t* p = &kPicture[static_cast<std::size_t>((row * 3 + column) * 3)];
            out.insert(out.end(), {p[2], p[1], p[0]});
        }
        out.insert(out.end(), pad, 0x77);
    }
    return out;
}

class PlainPictureTest : public testing_support::PictureFolderTest {
protected:
    PlainPictureTest() : PictureFolderTest("plain") {}
};

}  // namespace

TEST_F(PlainPictureTest, BitmapsReadWhatTheirHeadersSay) {
    Image image;
    // 3 pixels of 3 bytes: each row padded to 12 bytes; either row order; headers of any size.
    ASSERT_TRUE(LoadBMP(Put("padded.bmp", MakeBMP(3, 2, 24, Stored(3, false))).c_str(), image));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.pixels, kPicture);
    image = Image();
    ASSERT_TRUE(LoadBMP(Put("topdown.bmp", MakeBMP(3, -2, 24, Stored(3, true))).c_str(), image));
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.pixels, kPicture);
    image = Image();
    ASSERT_TRUE(LoadBMP(Put("v5.bmp", LargerHeaderBMP(3, 2, 24, Stored(3, false), 124, 10)).c_str(), image));
    EXPECT_EQ(image.pixels, kPicture);

    // 32 bits: blue, green, red, alpha become red, green, blue, alpha; a reserved fourth byte
    // left zero throughout means an opaque picture.
    ASSERT_TRUE(LoadBMP(Put("alpha.bmp", MakeBMP(2, 1, 32, {1, 2, 3, 4, 5, 6, 7, 0})).c_str(), image));
    EXPECT_EQ(image.bitsPerPixel, 32);
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{3, 2, 1, 4, 7, 6, 5, 0}));
    ASSERT_TRUE(LoadBMP(Put("noalpha.bmp", MakeBMP(2, 1, 32, {1, 2, 3, 0, 5, 6, 7, 0})).c_str(), image));
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{3, 2, 1, 255, 7, 6, 5, 255}));

    // Bit masks for the same layout, with alpha (a 124-byte header) and without (after 40 bytes).
    std::vector<std::uint8_t> masked = LargerHeaderBMP(1, 1, 32, {1, 2, 3, 0}, 124, 0);
    Put32(masked, 30, 3);
    Put32(masked, 54, 0x00FF0000u);
    Put32(masked, 58, 0x0000FF00u);
    Put32(masked, 62, 0x000000FFu);
    Put32(masked, 66, 0xFF000000u);
    ASSERT_TRUE(LoadBMP(Put("masked.bmp", masked).c_str(), image));
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{3, 2, 1, 0}));
    std::vector<std::uint8_t> rgbMasks = MakeBMP(1, 1, 32, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 9});
    Put32(rgbMasks, 10, 66);
    Put32(rgbMasks, 30, 3);
    Put32(rgbMasks, 54, 0x00FF0000u);
    Put32(rgbMasks, 58, 0x0000FF00u);
    Put32(rgbMasks, 62, 0x000000FFu);
    ASSERT_TRUE(LoadBMP(Put("rgbmasks.bmp", rgbMasks).c_str(), image));
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{3, 2, 1, 255}));
}

TEST_F(PlainPictureTest, TargasReadTheirImageIdAndOrigin) {
    Image image;
    std::vector<std::uint8_t> file = MakeTGA(3, 2, 24, Stored(0, false));
    ASSERT_TRUE(LoadTGA(Put("plain.tga", file).c_str(), image));
    EXPECT_EQ(image.pixels, kPicture);

    file = MakeTGA(3, 2, 24, Stored(0, true, true));
    file[17] = 0x30;   // origin at the top right
    const std::vector<std::uint8_t> id = {'a', 'b', 'c', 'd', 'e'};
    file[0] = static_cast<std::uint8_t>(id.size());
    file.insert(file.begin() + 18, id.begin(), id.end());
    image = Image();
    ASSERT_TRUE(LoadTGA(Put("topright.tga", file).c_str(), image));
    EXPECT_EQ(image.pixels, kPicture);

    file = MakeTGA(1, 2, 32, {1, 2, 3, 4, 5, 6, 7, 8});
    file[17] = 0x28;   // eight alpha bits, origin at the top left
    ASSERT_TRUE(LoadTGA(Put("topleft.tga", file).c_str(), image));
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{7, 6, 5, 8, 3, 2, 1, 4}));
}

// What the readers do not read is refused with one line naming the file and why, and the
// picture stays as it was, as for a missing file.
TEST_F(PlainPictureTest, WhatIsNotReadIsNamedAndRefused) {
    std::vector<std::uint8_t> jpeg = MakeBMP(1, 1, 24, {0, 0, 0, 0});
    Put32(jpeg, 30, 4);
    std::vector<std::uint8_t> odd = MakeBMP(1, 1, 32, std::vector<std::uint8_t>(16, 0));
    Put32(odd, 10, 66);
    Put32(odd, 30, 3);
    Put32(odd, 54, 0x0000F800u);
    std::vector<std::uint8_t> os2 = MakeBMP(1, 1, 24, {0, 0, 0, 0});
    Put32(os2, 14, 12);
    std::vector<std::uint8_t> inside = MakeBMP(1, 1, 24, {0, 0, 0, 0});
    Put32(inside, 10, 40);
    std::vector<std::uint8_t> beyond = MakeBMP(1, 1, 24, {0, 0, 0, 0});
    Put32(beyond, 10, 4000);
    struct Case {
        std::string name;
        bool targa;
        const char* why;
    };
    const Case cases[] = {
        {Put("palette.bmp", MakeBMP(2, 2, 8, {0, 0, 0, 0, 0, 0, 0, 0})), false,
         "palette pictures (8 bits per pixel) are not read"},
        {Put("jpeg.bmp", jpeg), false, "compressed pictures (method 4) are not read"},
        {Put("deep.bmp", MakeBMP(1, 1, 16, {0, 0, 0, 0})), false, "16 bits per pixel are not read"},
        {Put("masks.bmp", odd), false, "bit masks other than blue, green, red and alpha bytes are not read"},
        {Put("os2.bmp", os2), false, "an OS/2 bitmap header (12 bytes) is not read"},
        {Put("inside.bmp", inside), false, "pixel data at offset 40 lies inside the headers"},
        {Put("beyond.bmp", beyond), false, "ends before its pixel data at offset 4000"},
        {Put("grey.tga", MakeTGA(2, 1, 8, {7, 9})), true, "8 bits per pixel are not read"},
        {Put("rle.tga", MakeTGA(1, 1, 24, {0, 0, 0}, 0, 10)), true,
         "image type 10 is not read, only uncompressed true colour (2)"},
        {Put("mapped.tga", MakeTGA(1, 1, 8, {0}, 1, 1)), true,
         "image type 1 is not read, only uncompressed true colour (2)"},
    };
    for (const Case& c : cases) {
        Image image;
        image.width = image.height = 1;
        image.bitsPerPixel = 24;
        image.pixels = {1, 2, 3};
        testing::internal::CaptureStderr();
        EXPECT_FALSE(c.targa ? LoadTGA(c.name.c_str(), image) : LoadBMP(c.name.c_str(), image)) << c.name;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said, "images: cannot read " + c.name + " (" + c.why + ")\n");
        EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{1, 2, 3})) << c.name;
    }
}

// The generator writes 24-bit bitmaps (54-byte headers, rows a multiple of 4 bytes) and 32-bit
// bottom-up Targas with no image ID. Read as the demo always read them, from the fixed offsets
// with blue and red exchanged, every one of them must come out byte for byte the same.
TEST(GeneratedPictures, EveryOneReadsAsTheDemoAlwaysReadIt) {
    namespace fs = std::filesystem;
    const std::string root = testing_support::TestAssetRoot();
    platform::SetAssetRoot(root);
    int bitmaps = 0, targas = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root + "/TEKSTURY")) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
        if (extension != ".bmp" && extension != ".tga") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string relative = fs::relative(entry.path(), root).string();
        const int type = DetectImageType(relative.c_str());
        ASSERT_TRUE(type == 1 || type == 2) << relative;
        const bool bmp = type == 1;
        ASSERT_GE(bytes.size(), bmp ? 54u : 18u) << relative;
        const auto u16 = [&](std::size_t at) { return bytes[at] | bytes[at + 1] << 8; };
        const auto i32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
        const int width = bmp ? i32(18) : u16(12), height = bmp ? i32(22) : u16(14);
        const int bits = bmp ? u16(28) : bytes[16];
        const std::size_t start = bmp ? 54 : 18;
        const std::size_t count = static_cast<std::size_t>(width) * height * (bits / 8);
        ASSERT_GE(bytes.size(), start + count) << relative;
        std::vector<std::uint8_t> expected(bytes.begin() + start, bytes.begin() + start + count);
        if (bits == 24 || (!bmp && bits == 32))
            for (std::size_t i = 0; i + 2 < count; i += bits / 8) std::swap(expected[i], expected[i + 2]);

        Image image;
        ASSERT_TRUE(bmp ? LoadBMP(relative.c_str(), image) : LoadTGA(relative.c_str(), image)) << relative;
        EXPECT_EQ(image.width, width) << relative;
        EXPECT_EQ(image.height, height) << relative;
        EXPECT_EQ(image.bitsPerPixel, bits) << relative;
        EXPECT_TRUE(image.pixels == expected) << relative;
        ++(bmp ? bitmaps : targas);
    }
    // Every texture, both progress-bar pictures and the 32 caustic frames.
    EXPECT_GE(bitmaps, 55);
    EXPECT_GE(targas, 1);
}
