// The shell's shutdown and its choice of asset folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "app/globals.h"
#include "app/options.h"
#include "app/shell.h"
#include "platform/window.h"
#include "support/bmp_files.h"

TEST(Shell, ShutdownStopsEveryLoadedSceneAndASecondRequestIsHarmless) {
    ASSERT_TRUE(OpenDisplay(Options(), true));   // what a run's shutdown finds open
    sceneThree.Load();
    sceneFour.Load();
    sceneFour.Start();
    Shutdown();
    EXPECT_FALSE(sceneThree.loaded);
    EXPECT_FALSE(sceneFour.loaded || sceneFour.started);
    EXPECT_FALSE(platform::IsWindowOpen());
    sceneFour.Load();   // nothing in the second request may touch the scenes again
    Shutdown();
    EXPECT_TRUE(sceneFour.loaded);
    sceneFour.Unload();
}

TEST(Shell, AssetFolderIsTheNamedOneOrNone) {
    const std::string root = testing_support::MakeTempFolder("root");
    std::string error;
    EXPECT_EQ(FindAssetRoot(root, nullptr, error), "");
    EXPECT_NE(error.find(root), std::string::npos);
    ::mkdir((root + "/tekstury").c_str(), 0755);
    ::mkdir((root + "/Dane").c_str(), 0755);
    error.clear();
    EXPECT_EQ(FindAssetRoot(root, nullptr, error), root);
    EXPECT_TRUE(error.empty());
}
