// The window's GL context on Mesa's llvmpipe: none of the driver's fences is written after it
// was freed.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "support/gl_test_context.h"
#include "support/run_command.h"

namespace {

// The summary line the fence watch prints at exit; all -1 when there is none.
struct WatchReport {
    long freed = -1;
    long written = -1;
    long paused = -1;
};

WatchReport ReadWatchReport(const std::string& output) {
    WatchReport report;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::sscanf(line.c_str(), "fence-watch: %ld fences freed, %ld written after free, %ld paused signals",
                    &report.freed, &report.written, &report.paused);
    }
    return report;
}

// `command` headless, with the fence watch preloaded and `settings` (NAME=VALUE ...) in its
// environment, which holds no LP_NUM_THREADS but one `settings` names.
std::string Watched(const std::string& settings, const std::string& command) {
    return "env -u DISPLAY -u WAYLAND_DISPLAY -u LP_NUM_THREADS SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "
           "LD_PRELOAD=" + std::string(FENCE_WATCH) + " " + settings + " " + command;
}

}  // namespace

// llvmpipe frees a flushed scene's fence while the rasterizer thread that signalled it may not
// have unlocked it yet; the small program shows it once the watch pauses every signal between
// the count and the unlock. The demo, with llvmpipe's own count of threads and the same pause,
// in the scene that flushes most often, must leave every freed fence untouched, on the desktop
// path and through our OpenGL ES layer.
TEST(Window, NoDriverFenceIsWrittenAfterItWasFreed) {
#ifdef UNDERTOW_SANITIZED
    GTEST_SKIP() << "AddressSanitizer must come first among the libraries; the watch cannot be preloaded";
#endif
    std::string shown;
    testing_support::RunCommand(Watched("LP_NUM_THREADS=2", std::string(FENCE_RACE) + " 100 10 2000"), shown);
    if (shown.find("llvmpipe") == std::string::npos) GTEST_SKIP() << "the GL is not llvmpipe:\n" << shown;
    const WatchReport race = ReadWatchReport(shown);
    ASSERT_GT(race.paused, 0) << shown;   // the watch stood between the rasterizer threads and their fences
    if (race.written == 0) GTEST_SKIP() << "this llvmpipe does not free fences that are still being signalled";

    for (const char* path : {"", "--gles "}) {
        std::string output;
        const int status = testing_support::RunCommand(
            Watched("FENCE_WATCH_PAUSE_MS=5", std::string(UNDERTOW_BINARY_DIR) + "/undertow " + path +
                                                  "--benchmark --fps 10 --start 55 --frames 60 --data " +
                                                  testing_support::TestAssetRoot()),
            output);
        ASSERT_EQ(status, 0) << path << output;
        const WatchReport demo = ReadWatchReport(output);
        ASSERT_GT(demo.freed, 0) << path << output;   // the watch saw the driver's fences come and go
        ASSERT_GT(demo.paused, 0) << path << output;  // and the rasterizer threads signal them
        EXPECT_EQ(demo.written, 0) << path << output;
    }
}
