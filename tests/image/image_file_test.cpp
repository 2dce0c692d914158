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

class ImageFileTest : public testing_support::PictureFolderTest {
protected:
    ImageFileTest() : PictureFolderTest("images") {}
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
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{3, 2, 1, 4}));   // 32-bit BMP: blue first too

    ASSERT_TRUE(LoadTGA(Put("c.tga", MakeTGA(1, 1, 32, {1, 2, 3, 4})).c_str(), image));
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{3, 2, 1, 4}));

    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadTGA(Put("d.tga", MakeTGA(2, 1, 8, {7, 9})).c_str(), image));   // 8-bit: not read
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{3, 2, 1, 4}));
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

// A header that claims the largest accepted size over no data must not become a 64 MiB buffer;
// a file that delivers half its pixels, or misses only a little, is still a picture.
TEST_F(ImageFileTest, ShortFilesAreReadOnlyAsFarAsTheirDataBacksThem) {
    Image image;
    ASSERT_TRUE(LoadBMP(Put("ok.bmp", MakeBMP(1, 1, 24, {1, 2, 3, 0})).c_str(), image));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadBMP(Put("claims.bmp", MakeBMP(4096, 4096, 32, {})).c_str(), image));
    EXPECT_FALSE(LoadTGA(Put("claims.tga", MakeTGA(4096, 4096, 32, {})).c_str(), image));
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("TEKSTURY\\claims.bmp (holds only 0 of the 67108864 pixel bytes"), std::string::npos)
        << said;
    EXPECT_NE(said.find("TEKSTURY\\claims.tga (holds only 0 of"), std::string::npos) << said;
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{3, 2, 1}));   // refusals leave it as it was

    // 256 × 256 × 3 = 196608 bytes: half of them is enough, one byte less is not.
    std::vector<std::uint8_t> half(98304);
    for (std::size_t i = 0; i < half.size(); ++i) half[i] = static_cast<std::uint8_t>(i * 7 + 1);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(LoadBMP(Put("half.bmp", MakeBMP(256, 256, 24, half)).c_str(), image));
    said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("half.bmp is short: holds 98304 of the 196608 pixel bytes"), std::string::npos) << said;
    ASSERT_EQ(image.pixels.size(), 196608u);
    EXPECT_EQ(image.pixels[0], half[2]);   // red and blue exchanged where the file has them
    EXPECT_EQ(image.pixels[98301], half[98303]);
    EXPECT_EQ(image.pixels[98304], 0);
    EXPECT_EQ(image.pixels[196607], 0);

    half.pop_back();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadBMP(Put("less.bmp", MakeBMP(256, 256, 24, half)).c_str(), image));
    said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("less.bmp (holds only 98303 of the 196608"), std::string::npos) << said;
    EXPECT_EQ(image.pixels.size(), 196608u);

    // Through a stream that cannot seek: the same rule, from what actually arrives.
    const std::vector<std::uint8_t> bytes = MakeTGA(300, 300, 32, {9, 8, 7, 6});
    std::FILE* pipe = ::popen(("cat " + root + "/TEKSTURY/claims.tga").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    EXPECT_FALSE(ReadTGA(pipe, image));
    ::pclose(pipe);
    WriteFile(root + "/TEKSTURY/small.tga", bytes);
    pipe = ::popen(("cat " + root + "/TEKSTURY/small.tga").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    EXPECT_FALSE(ReadTGA(pipe, image));   // 360000 bytes promised, 4 delivered
    ::pclose(pipe);
    WriteFile(root + "/TEKSTURY/small.tga", MakeTGA(100, 100, 32, {9, 8, 7, 6}));
    pipe = ::popen(("cat " + root + "/TEKSTURY/small.tga").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string note;
    EXPECT_TRUE(ReadTGA(pipe, image, note));   // 40000 promised: within the slack
    ::pclose(pipe);
    EXPECT_EQ(note, "short: holds 4 of the 40000 pixel bytes; the rest is black");
    EXPECT_EQ(image.pixels[0], 7);
    EXPECT_EQ(image.pixels[3], 6);
}

TEST_F(ImageFileTest, EachFailureIsNamedWithItsReason) {
    ::mkdir((root + "/TEKSTURY/folder.bmp").c_str(), 0755);
    std::vector<std::uint8_t> notBmp = MakeBMP(1, 1, 24, {0, 0, 0, 0});
    notBmp[1] = 'X';
    std::vector<std::uint8_t> cut = MakeBMP(1, 1, 24, {});
    cut.resize(30);
    struct Case {
        std::string name;
        bool targa;
        const char* line;   // after "images: cannot " and the name
    };
    const Case cases[] = {
        {"TEKSTURY\\missing.bmp", false, "open  (no such file)"},
        {"TEKSTURY\\folder.bmp", false, "open  (a folder, not a file)"},
        {Put("empty.bmp", {}), false, "read  (empty, or too short to be a picture)"},
        {Put("other.bmp", notBmp), false, "read  (not a BMP file)"},
        {Put("cut.bmp", cut), false, "read  (no complete header (30 of 54 bytes))"},
        {Put("cut.tga", {0, 0, 2, 0}), true, "read  (no complete header (4 of 18 bytes))"},
        {Put("wide.bmp", MakeBMP(-4, 4, 24, {})), false, "read  (size -4 x 4 at 24 bits is out of range)"},
    };
    for (const Case& c : cases) {
        Image image;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(c.targa ? LoadTGA(c.name.c_str(), image) : LoadBMP(c.name.c_str(), image));
        const std::string said = testing::internal::GetCapturedStderr();
        std::string expected = std::string("images: cannot ") + c.line + "\n";
        expected.insert(std::string("images: cannot ").size() + 5, c.name);
        EXPECT_EQ(said, expected);
        EXPECT_TRUE(image.IsEmpty());
    }
}
