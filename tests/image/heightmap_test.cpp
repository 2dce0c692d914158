// The heightmap reader: padded and packed rows, channel averaging, and files that are missing,
// of the wrong kind, short or hostile.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "image/heightmap.h"
#include "platform/asset_path.h"
#include "support/bmp_files.h"

using testing_support::GreyBMP;
using testing_support::MakeBMP;

TEST(Heightmap, PaddedAndPackedRowsBothReadTheRightPixels) {
    // Five pixels a row: a bitmap pads each row to 16 bytes; the packed form has 15.
    auto grey = [](int c, int r) { return 10 * r + c; };
    std::vector<std::uint8_t> packed;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c) packed.insert(packed.end(), 3, static_cast<std::uint8_t>(grey(c, r)));
    for (const auto& bytes : {GreyBMP(5, 3, grey), MakeBMP(5, 3, 24, packed)}) {
        const Heightmap map = ReadHeightmap(bytes.data(), bytes.size(), 1.0f, 0.0f, "t.BMP");
        ASSERT_TRUE(map.heights);
        EXPECT_EQ(map.width, 5);
        EXPECT_EQ(map.height, 3);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 5; ++c) EXPECT_EQ(map.heights[r * 5 + c], static_cast<float>(grey(c, r))) << r << "," << c;
    }
    // Unequal channels are averaged with integer division.
    const auto mixed = MakeBMP(1, 1, 24, {10, 20, 31, 0});
    EXPECT_EQ(ReadHeightmap(mixed.data(), mixed.size(), 1.0f, 0.0f, "m.BMP").heights[0], 20.0f);
}

TEST(Heightmap, UnusableFilesAreRefusedAndNamedOnce) {
    const std::string root = testing_support::MakeTempFolder("heightmap");
    ::mkdir((root + "/TEKSTURY").c_str(), 0755);
    platform::SetAssetRoot(root);

    std::vector<std::uint8_t> huge = GreyBMP(4, 4, [](int, int) { return 1; });
    huge[18] = huge[19] = huge[20] = 0xff;   // width 16 million, height 4
    huge[21] = 0;
    std::vector<std::uint8_t> negative = GreyBMP(4, 4, [](int, int) { return 1; });
    negative[22] = negative[23] = negative[24] = negative[25] = 0xff;
    std::vector<std::uint8_t> truncated = GreyBMP(40, 40, [](int, int) { return 1; });
    truncated.resize(truncated.size() - 500);
    std::vector<std::uint8_t> notBmp = GreyBMP(4, 4, [](int, int) { return 1; });
    notBmp[0] = 'X';
    const std::vector<std::vector<std::uint8_t>> cases = {
        {},                                                          // empty file
        {'B', 'M', 0, 0, 0},                                         // header cut short
        notBmp,
        MakeBMP(8, 8, 8, std::vector<std::uint8_t>(64, 7)),          // 8 bits a pixel
        MakeBMP(8, 8, 32, std::vector<std::uint8_t>(256, 7)),        // 32 bits a pixel
        huge, negative, truncated};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        testing_support::WriteFile(root + "/TEKSTURY/map.BMP", cases[i]);
        testing::internal::CaptureStderr();
        const Heightmap fromFile = LoadHeightmap("TEKSTURY\\map.BMP", 0.05f, 0.5f);
        const std::string message = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(fromFile.heights);
        EXPECT_EQ(fromFile.width, 0);
        EXPECT_EQ(fromFile.height, 0);
        EXPECT_NE(message.find("terrain: cannot read TEKSTURY\\map.BMP"), std::string::npos) << message;
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    }

    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadHeightmap("TEKSTURY\\none.BMP", 0.05f, 0.5f).heights);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("terrain: cannot open TEKSTURY\\none.BMP (no such file)"), std::string::npos) << message;
}
