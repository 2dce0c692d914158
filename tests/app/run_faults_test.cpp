// Faults while the demo runs: the window closed during loading, Escape twice, the music that
// cannot be opened, the audio device going away. Each run happens in a child process of its own, since a run ends with the
// program-wide shutdown, which happens once per process.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "app/globals.h"
#include "app/options.h"
#include "app/shell.h"
#include "platform/window.h"
#include "support/bmp_files.h"
#include "support/child_run.h"
#include "support/gl_test_context.h"

namespace {

using testing_support::ChildRun;
using testing_support::RunInChild;

#define SKIP_IF_WINDOW_OPEN() \
    if (platform::IsWindowOpen()) GTEST_SKIP() << "needs a process without a window; ctest runs each test alone"

Options BenchmarkRun(long frames) {
    Options options;
    options.benchmark = true;
    options.dataDir = testing_support::TestAssetRoot();
    options.fps = 10;
    options.frames = frames;
    return options;
}

}  // namespace

TEST(RunFaults, WindowClosedWhileLoadingEndsTheRunBeforeTheFirstFrame) {
    SKIP_IF_WINDOW_OPEN();
    // Queued before the loading screen, as a close during it would be: the loading screen takes
    // no messages, so the main loop sees the close first and no frame is drawn.
    const ChildRun run = RunInChild(BenchmarkRun(50), [] {
        platform::QueueWindowMessage(platform::WindowMessage::Destroy);
        platform::QueueWindowMessage(platform::WindowMessage::Destroy);
    });
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("undertow: the window was closed; stopping at 0.00 s of the demo\n"), std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("the window was closed", run.output.find("the window was closed") + 1),
              std::string::npos)
        << "the second close must find the run over\n"
        << run.output;
    EXPECT_NE(run.output.find("clock 0.00 loaded 0"), std::string::npos) << run.output;   // shut down, no frame
}

TEST(RunFaults, SecondEscapeAfterTheFirstIsHarmless) {
    SKIP_IF_WINDOW_OPEN();
    const ChildRun run = RunInChild(BenchmarkRun(50), [] {
        platform::QueueWindowMessage(platform::WindowMessage::Escape);
        platform::QueueWindowMessage(platform::WindowMessage::Escape);
    });
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::size_t first = run.output.find("undertow: Escape pressed; stopping at");
    ASSERT_NE(first, std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("undertow: Escape pressed", first + 1), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("loaded 0"), std::string::npos) << run.output;
}

// The run ends with -1, but through the shutdown: scenes released, window and display mode given
// back.
TEST(RunFaults, MusicThatCannotBeOpenedStillShutsDown) {
    SKIP_IF_WINDOW_OPEN();
    Options options = BenchmarkRun(5);
    options.dataDir = testing_support::MakeTempFolder("no-music");
    ::symlink((testing_support::TestAssetRoot() + "/TEKSTURY").c_str(), (options.dataDir + "/TEKSTURY").c_str());
    ::mkdir((options.dataDir + "/DANE").c_str(), 0755);
    const ChildRun run = RunInChild(options, [] {});
    EXPECT_EQ(run.exitCode, 255) << run.output;
    EXPECT_NE(run.output.find("cannot play the music"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("loaded 0 window 0"), std::string::npos) << run.output;
}

TEST(RunFaults, AudioDeviceGoneMidRunIsNamedOnceAndTheDemoGoesOn) {
    SKIP_IF_WINDOW_OPEN();
    const ChildRun run = RunInChild(BenchmarkRun(30), [] {
        platform::QueueWindowMessage(platform::WindowMessage::AudioLost);
        platform::QueueWindowMessage(platform::WindowMessage::AudioLost);
    });
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::size_t said = run.output.find("undertow: the audio device went away at 0.00 s; the demo goes on");
    ASSERT_NE(said, std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("undertow: the audio device went away", said + 1), std::string::npos) << run.output;
    // All 30 frames were drawn: 30 steps at 10 per second.
    EXPECT_NE(run.output.find("clock 2.9"), std::string::npos) << run.output;
}
