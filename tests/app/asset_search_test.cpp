// Where the program looks for TEKSTURY and DANE when no --data is given.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "app/asset_search.h"
#include "support/bmp_files.h"
#include "support/run_command.h"

namespace {

void MakeAssetRoot(const std::string& folder) {
    std::string output;
    ASSERT_EQ(testing_support::RunCommand("mkdir -p '" + folder + "/TEKSTURY' '" + folder + "/DANE'", output), 0) << output;
}

// Runs the test body with a fresh empty folder as the current directory.
class AssetSearch : public ::testing::Test {
protected:
    void SetUp() override {
        char buffer[4096];
        ASSERT_NE(::getcwd(buffer, sizeof buffer), nullptr);
        previous = buffer;
        ASSERT_EQ(::chdir(testing_support::MakeTempFolder("cwd").c_str()), 0);
    }
    void TearDown() override { EXPECT_EQ(::chdir(previous.c_str()), 0); }
    std::string previous;
};

}  // namespace

TEST_F(AssetSearch, FoldersComeInOrderWithoutRepeats) {
    EXPECT_EQ(AssetSearchFolders("/opt/ut/bin/undertow", "/a:relative/dir::/b/"),
              (std::vector<std::string>{".", "/opt/ut/bin", "/opt/ut/share/undertow", "/a/undertow", "/b/undertow"}));
    // Unset or empty XDG_DATA_DIRS means the two usual folders; /usr/share/undertow is listed once.
    const std::vector<std::string> usual{".", "/usr/bin", "/usr/share/undertow", "/usr/local/share/undertow"};
    EXPECT_EQ(AssetSearchFolders("/usr/bin/undertow", nullptr), usual);
    EXPECT_EQ(AssetSearchFolders("/usr/bin/undertow", ""), usual);
    // A program started by a relative path, and none known at all.
    EXPECT_EQ(AssetSearchFolders("build/undertow", "/x"),
              (std::vector<std::string>{".", "build", "share/undertow", "/x/undertow"}));
    EXPECT_EQ(AssetSearchFolders("", "/x"), (std::vector<std::string>{".", "/x/undertow"}));
}

TEST_F(AssetSearch, TheFirstFolderHoldingBothWins) {
    const std::string base = testing_support::MakeTempFolder("prefix");
    const std::string program = base + "/prefix/bin/undertow";
    const std::string xdg = base + "/xdg";
    const std::vector<std::string> folders = AssetSearchFolders(program, xdg.c_str());
    ASSERT_EQ(folders.size(), 4u);
    std::string error;

    MakeAssetRoot(xdg + "/undertow");
    EXPECT_EQ(FirstAssetRoot(folders, error), xdg + "/undertow");
    MakeAssetRoot(base + "/prefix/share/undertow");
    EXPECT_EQ(FirstAssetRoot(folders, error), base + "/prefix/share/undertow");
    // Half an asset root beside the program does not count; a whole one does.
    std::string output;
    ASSERT_EQ(testing_support::RunCommand("mkdir -p '" + base + "/prefix/bin/TEKSTURY'", output), 0) << output;
    EXPECT_EQ(FirstAssetRoot(folders, error), base + "/prefix/share/undertow");
    ASSERT_EQ(::mkdir((base + "/prefix/bin/dane").c_str(), 0755), 0);
    EXPECT_EQ(FirstAssetRoot(folders, error), base + "/prefix/bin");
    MakeAssetRoot(".");
    EXPECT_EQ(FirstAssetRoot(folders, error), ".");
    EXPECT_TRUE(error.empty()) << error;
}

TEST_F(AssetSearch, NoAssetsNamesEveryFolderTried) {
    const std::string base = testing_support::MakeTempFolder("empty");
    std::string error;
    EXPECT_EQ(FirstAssetRoot(AssetSearchFolders(base + "/bin/undertow", (base + "/one:" + base + "/two").c_str()), error),
              "");
    for (const std::string& folder : {std::string("the current folder"), base + "/bin", base + "/share/undertow",
                                      base + "/one/undertow", base + "/two/undertow", std::string("--data")}) {
        EXPECT_NE(error.find(folder), std::string::npos) << folder << " missing from: " << error;
    }
}
