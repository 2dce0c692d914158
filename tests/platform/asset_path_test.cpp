// Windows-style asset names on a case-sensitive file system.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/asset_path.h"
#include "support/bmp_files.h"

TEST(AssetPath, EveryComponentMatchesWithoutRegardToCase) {
    const std::string root = testing_support::MakeTempFolder("paths");
    ::mkdir((root + "/TEKSTURY").c_str(), 0755);
    ::mkdir((root + "/TEKSTURY/WODA").c_str(), 0755);
    ::mkdir((root + "/dane").c_str(), 0755);
    testing_support::WriteFile(root + "/TEKSTURY/WODA/Caust0.BMP", {1});
    testing_support::WriteFile(root + "/TEKSTURY/liscie.TGA", {2});
    platform::SetAssetRoot(root);

    EXPECT_EQ(platform::ResolveAssetPath("TEKSTURY\\WODA\\caust0.bmp"), root + "/TEKSTURY/WODA/Caust0.BMP");
    EXPECT_EQ(platform::ResolveAssetPath("TEKSTURY\\LISCIE.TGA"), root + "/TEKSTURY/liscie.TGA");
    EXPECT_EQ(platform::ResolveAssetPath("tekstury/woda/CAUST0.bmp"), root + "/TEKSTURY/WODA/Caust0.BMP");
    EXPECT_EQ(platform::ResolveAssetPath("TEKSTURY\\WODA\\caust1.bmp"), "");
    EXPECT_EQ(platform::ResolveAssetPath(""), "");
    EXPECT_TRUE(platform::IsAssetRoot(root));
    EXPECT_FALSE(platform::IsAssetRoot(root + "/TEKSTURY"));

    std::FILE* file = platform::OpenAsset("TEKSTURY\\liscie.tga", "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(std::fgetc(file), 2);
    std::fclose(file);
    EXPECT_EQ(platform::OpenAsset("TEKSTURY\\WODA", "rb"), nullptr);   // a folder is not a file
}
