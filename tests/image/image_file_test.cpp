// The BMP and TGA readers: byte orders, the content probe, and hostile or short files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "image/image_file.h"
#include "platform/asset_path.h"
#include "support/bmp_files.h"

using testing_support::MakeBMP;
using testing_support::MakeTGA;
using testing_support::WriteFile;

namespace {

class ImageFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = testing_support::MakeTempFolder("images");
        ::mkdir((root + "/TEKSTURY").c_str(), 0755);
        platform::SetAssetRoot(root);
    }
    std::string Put(const char* name, const std::vector<std::uint8_t>& bytes) {
        WriteFile(root + "/TEKSTURY/" + name, bytes);
        return std::string("TEKSTURY\\") + name;
    }
    std::string root;
};

}  // namespace

TEST_F(ImageFileTest, ByteOrdersOfEachFormat) {
    Image image;
    ASSERT_TRUE(LoadBMP(Put("a.bmp", MakeBMP(1, 1, 24, {10, 20, 30, 0})).c_str(), image));
    EXPECT_EQ(image.width, 1);
    EXPECT_EQ(image.bitsPerPixel, 24);
    EXPECT_EQ(image.pixels[0], 30);
    EXPECT_EQ(image.pixels[1], 20);
    EXPECT_EQ(image.pixels[2], 10);

    ASSERT_TRUE(LoadBMP(Put("b.bmp", MakeBMP(1, 1, 32, {1, 2, 3, 4})).c_str(), image));
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{1, 2, 3, 4}));   // 32-bit BMP: file order

    ASSERT_TRUE(LoadTGA(Put("c.tga", MakeTGA(1, 1, 32, {1, 2, 3, 4})).c_str(), image));
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{3, 2, 1, 4}));

    ASSERT_TRUE(LoadTGA(Put("d.tga", MakeTGA(2, 1, 8, {7, 9})).c_str(), image));
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{7, 9}));   // 8-bit: no swap
}

TEST_F(ImageFileTest, TypeIsDecidedByContentAlone) {
    EXPECT_EQ(DetectImageType(Put("bmp.TGA", MakeBMP(1, 1, 24, {0, 0, 0, 0})).c_str()), 1);
    EXPECT_EQ(DetectImageType(Put("tga.bmp", MakeTGA(1, 1, 24, {0, 0, 0})).c_str()), 2);
    EXPECT_EQ(DetectImageType(Put("mapped.tga", MakeTGA(1, 1, 24, {0, 0, 0}, 1, 2)).c_str()), 0);
    EXPECT_EQ(DetectImageType(Put("rle.tga", MakeTGA(1, 1, 24, {0, 0, 0}, 0, 10)).c_str()), 0);
    EXPECT_EQ(DetectImageType("TEKSTURY\\missing.bmp"), 0);
    EXPECT_EQ(DetectImageType(Put("short.bmp", {'B'}).c_str()), 0);
}

TEST_F(ImageFileTest, FailuresLeaveThePictureUntouched) {
    Image image;
    ASSERT_TRUE(LoadBMP(Put("ok.bmp", MakeBMP(1, 1, 24, {1, 2, 3, 0})).c_str(), image));
    std::vector<std::uint8_t> notBmp = MakeBMP(1, 1, 24, {0, 0, 0, 0});
    notBmp[0] = 'X';
    EXPECT_FALSE(LoadBMP(Put("bad.bmp", notBmp).c_str(), image));
    EXPECT_FALSE(LoadBMP("TEKSTURY\\nothing.bmp", image));
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{3, 2, 1}));
}

TEST_F(ImageFileTest, HostileSizesAreRefusedWithoutHugeAllocations) {
    Image image;
    EXPECT_FALSE(LoadBMP(Put("neg.bmp", MakeBMP(-4, 4, 24, {})).c_str(), image));
    EXPECT_FALSE(LoadBMP(Put("huge.bmp", MakeBMP(0x7FFFFFFF, 0x7FFFFFFF, 24, {})).c_str(), image));
    EXPECT_FALSE(LoadBMP(Put("wide.bmp", MakeBMP(1 << 20, 1 << 12, 32, {})).c_str(), image));
    EXPECT_TRUE(image.IsEmpty());
    // The largest Targa (65535²×4 bytes) is refused too.
    EXPECT_FALSE(LoadTGA(Put("huge.tga", MakeTGA(65535, 65535, 32, {})).c_str(), image));
}

TEST_F(ImageFileTest, ShortFileLeavesZeroesNotGarbage) {
    Image image;
    ASSERT_TRUE(LoadBMP(Put("short.bmp", MakeBMP(4, 4, 24, {255, 255, 255})).c_str(), image));
    ASSERT_EQ(image.pixels.size(), 48u);
    EXPECT_EQ(image.pixels[0], 255);
    for (std::size_t i = 3; i < image.pixels.size(); ++i) ASSERT_EQ(image.pixels[i], 0) << i;
}
