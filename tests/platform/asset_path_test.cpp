// Windows-style asset names on a case-sensitive file system.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

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

TEST(AssetPath, StreamsOpenOnlyOnReadableFilesAndSayWhyNot) {
    const std::string root = testing_support::MakeTempFolder("streams");
    ::mkdir((root + "/DANE").c_str(), 0755);
    ::mkdir((root + "/DANE/data.dat").c_str(), 0755);
    testing_support::WriteFile(root + "/DANE/ramka.dat", {7, 8});
    testing_support::WriteFile(root + "/DANE/locked.dat", {9});
    ::chmod((root + "/DANE/locked.dat").c_str(), 0);
    platform::SetAssetRoot(root);

    std::ifstream file;
    std::string why;
    EXPECT_FALSE(platform::OpenAssetStream("DANE\\data.dat", file, why));
    EXPECT_EQ(why, "a folder, not a file");
    EXPECT_FALSE(platform::OpenAssetStream("DANE\\none.dat", file, why));
    EXPECT_EQ(why, "no such file");
    if (::geteuid() != 0) {   // root reads everything
        EXPECT_FALSE(platform::OpenAssetStream("DANE\\locked.dat", file, why));
        EXPECT_EQ(why, "not readable: Permission denied");
    }
    ASSERT_TRUE(platform::OpenAssetStream("dane\\RAMKA.DAT", file, why)) << why;
    EXPECT_EQ(file.get(), 7);
    EXPECT_EQ(platform::AssetFileProblem("DANE\\ramka.dat"), "");
}
