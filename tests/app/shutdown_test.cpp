// The shell's shutdown and its choice of asset folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "app/bitmap_font.h"
#include "app/globals.h"
#include "app/options.h"
#include "app/shell.h"
#include "platform/window.h"
#include "support/bmp_files.h"
#include "support/gl_test_context.h"
#include "support/run_command.h"

TEST(Shell, ShutdownStopsEveryLoadedSceneAndASecondRequestIsHarmless) {
    ASSERT_TRUE(OpenDisplay(Options(), true));   // what a run's shutdown finds open
    demo.textureSlots[0].Bind();
    sceneThree.Load();
    sceneFour.Load();
    sceneFour.Start();
    Shutdown();
    EXPECT_FALSE(sceneThree.loaded);
    EXPECT_FALSE(sceneFour.loaded || sceneFour.started);
    // The demo's texture slots and the font's lists are given back before the context goes.
    for (const Texture2D& slot : demo.textureSlots) EXPECT_FALSE(slot.created);
    EXPECT_EQ(font.listBase, 0u);
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

// Every GL object goes while the context is current: after the shell deletes the context, not
// one GL call follows, neither from the shutdown nor from the destructors of the program's
// global objects at exit.
TEST(Shell, NoGLCallFollowsTheContextsDeletion) {
#ifdef UNDERTOW_SANITIZED
    GTEST_SKIP() << "AddressSanitizer must come first among the libraries; the watch cannot be preloaded";
#endif
    std::string output;
    const int status = testing_support::RunCommand(
        "env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy LD_PRELOAD=" +
            std::string(GL_CALL_WATCH) + " " + std::string(UNDERTOW_BINARY_DIR) +
            "/undertow --benchmark --frames 3 --data " + testing_support::TestAssetRoot(),
        output);
    ASSERT_EQ(status, 0) << output;
    ASSERT_NE(output.find("gl-call-watch: context deleted"), std::string::npos) << output;   // the watch was there
    EXPECT_EQ(output.find("after the context was deleted"), std::string::npos) << output;
}
