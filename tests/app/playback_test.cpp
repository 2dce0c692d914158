// The player in a live run, driven through SDL's event queue: seeks in both directions and
// across every scene boundary land on the frame --start shows, a pause holds the clock, a frame
// step moves it by one frame, and Escape still ends the run with 0.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/shell.h"
#include "capture/screenshot.h"
#include "platform/window.h"
#include "support/bmp_files.h"
#include "support/child_run.h"
#include "support/gl_test_context.h"
#include "support/key_events.h"
#include "support/png_read.h"
#include "support/run_command.h"

namespace {

using testing_support::Key;

// One step of the script: a key, and what to note at the first swap after it.
struct ScriptStep {
    Key key;
    const char* note;
};

// Run inside the child: the keys, and the clock at the first swap after each.
const ScriptStep kScript[] = {
    {Key::PageDown, "scene-two"},      // from scene one
    {Key::PageDown, "scene-four"},
    {Key::PageDown, "scene-three"},
    {Key::PageUp, "back-to-four"},
    {Key::Left, "back-five"},          // back into scene two
    {Key::Right, "on-five"},
    {Key::Home, "home"},
    {Key::Space, "paused"},
    {Key::Tab, "paused-bar"},          // the held picture comes back with the line over it
    {Key::Period, "step-one"},
    {Key::Period, "step-two"},
    {Key::Space, "resumed"},
};

struct ScriptState {
    std::size_t next = 0;
    int swapsSinceKey = 0;
    std::string pictureFolder;
};

ScriptState script;

// The snapshot hook: runs before every swap the run shows. The keys start once scene one
// plays (the loading screen swaps too, with no main loop to take them).
void RunScript() {
    if (script.next == 0 && demo.clock < 1.0f) return;
    if (script.next > 0 && script.swapsSinceKey == 0) {
        const ScriptStep& done = kScript[script.next - 1];
        std::printf("note %s %.5f %s\n", done.note, static_cast<double>(demo.clock), SceneName(demo.currentScene));
        if (std::string(done.note) == "scene-two") {
            std::string error;
            WriteScreenshot(script.pictureFolder + "/seek.png", error);
        }
    }
    ++script.swapsSinceKey;
    if (script.swapsSinceKey < 5) return;   // a few frames (or paused repaints) between keys
    script.swapsSinceKey = 0;
    if (script.next < std::size(kScript)) {
        testing_support::PushKey(kScript[script.next++].key);
    } else {
        testing_support::PushKey(Key::Escape);
    }
}

std::map<std::string, double> Notes(const std::string& output, std::map<std::string, std::string>& scenes) {
    std::map<std::string, double> notes;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string tag, name, scene, number;
        double clock = 0;
        if (!(words >> tag >> name >> clock) || tag != "note") continue;
        std::getline(words, scene);
        notes[name] = clock;
        scenes[name] = scene.empty() ? "" : scene.substr(1);
    }
    return notes;
}

}  // namespace

TEST(Playback, SeeksPauseAndStepDriveALiveRun) {
    if (platform::IsWindowOpen()) GTEST_SKIP() << "needs a process without a window; ctest runs each test alone";
    const std::string folder = testing_support::MakeTempFolder("player");
    Options options;
    options.dataDir = testing_support::TestAssetRoot();
    const testing_support::ChildRun run = testing_support::RunInChild(options, [&folder] {
        script.pictureFolder = folder;
        platform::SetSnapshotHook(RunScript);
    });
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::map<std::string, std::string> scenes;
    const std::map<std::string, double> notes = Notes(run.output, scenes);
    ASSERT_EQ(notes.size(), std::size(kScript)) << run.output;

    // A scene's first frame is the first step past the instant its window opens; the clock
    // counts whole milliseconds.
    const double step = 1.0 / 60.0, ms = 1.1e-3;
    EXPECT_NEAR(notes.at("scene-two"), 50.0 + step, ms);
    EXPECT_EQ(scenes.at("scene-two"), "scene two");
    EXPECT_NEAR(notes.at("scene-four"), 87.0 + step, ms);
    EXPECT_EQ(scenes.at("scene-four"), "scene four");
    EXPECT_NEAR(notes.at("scene-three"), 112.3 + step, ms);
    EXPECT_EQ(scenes.at("scene-three"), "scene three");
    EXPECT_NEAR(notes.at("back-to-four"), 87.0 + step, ms);
    // Five seconds back from a clock a few live frames past 87.0167, landing on a frame.
    const double back = notes.at("back-five");
    EXPECT_EQ(scenes.at("back-five"), "scene two");
    EXPECT_GT(back, 82.0);
    EXPECT_LT(back, 83.0);
    EXPECT_NEAR(back * 60.0, std::round(back * 60.0), 0.07);
    EXPECT_GT(notes.at("on-five"), back + 4.9);
    EXPECT_LT(notes.at("home"), 0.5);   // the first frame drawn after 0 s, scene one's at 0.2 s

    // Paused: the clock stands; each step moves it on by one frame; resumed, it runs again.
    EXPECT_DOUBLE_EQ(notes.at("paused-bar"), notes.at("paused"));
    EXPECT_NEAR(notes.at("step-one") - notes.at("paused"), step, ms);
    EXPECT_NEAR(notes.at("step-two") - notes.at("step-one"), step, ms);
    EXPECT_GT(notes.at("resumed"), notes.at("step-two"));

    // The picture after the seek is the one --start shows at that time.
    std::string output;
    const std::string capture = folder + "/start";
    ASSERT_EQ(testing_support::RunCommand(std::string("env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen ") +
                             UNDERTOW_BINARY_DIR + "/undertow --data " + testing_support::TestAssetRoot() +
                             " --start 50.01 --frames 1 --capture " + capture,
                         output),
              0)
        << output;
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    const std::vector<std::uint8_t> seek = testing_support::ReadPngRgb(folder + "/seek.png", w1, h1);
    const std::vector<std::uint8_t> start = testing_support::ReadPngRgb(capture + "/frame_003001.png", w2, h2);
    ASSERT_FALSE(seek.empty());
    ASSERT_EQ(seek.size(), start.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < seek.size(); ++i) differing += seek[i] != start[i];
    EXPECT_EQ(differing, 0u) << "channels of the picture after the seek that differ from --start's";
}

namespace {

int pausedSwaps = 0;

// The snapshot hook of the --paused run: notes the clock at each swap, plays on with Space after
// the fifth and ends the run after the tenth. The loading screen's swaps come at a clock of 0.
void NotePausedSwap() {
    if (demo.clock < 1.0f) return;
    std::printf("swap %.5f\n", static_cast<double>(demo.clock));
    ++pausedSwaps;
    if (pausedSwaps == 5) testing_support::PushKey(Key::Space);
    if (pausedSwaps == 10) testing_support::PushKey(Key::Escape);
}

}  // namespace

// --paused holds the first frame a later start shows, clock and all, until Space plays on.
TEST(Playback, PausedOpensOnTheStartFrame) {
    if (platform::IsWindowOpen()) GTEST_SKIP() << "needs a process without a window; ctest runs each test alone";
    Options options;
    options.dataDir = testing_support::TestAssetRoot();
    options.startSeconds = 20.0;
    options.paused = true;
    const testing_support::ChildRun run =
        testing_support::RunInChild(options, [] { platform::SetSnapshotHook(NotePausedSwap); });
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::vector<double> clocks;
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
        double clock = 0;
        if (std::sscanf(line.c_str(), "swap %lf", &clock) == 1) clocks.push_back(clock);
    }
    ASSERT_GE(clocks.size(), 10u) << run.output;
    // The first swap shown is frame 1200 of a whole run at 60 a second; the pause holds it.
    EXPECT_NEAR(clocks[0], 20.0, 1.1e-3);
    for (std::size_t i = 1; i < 5; ++i) EXPECT_DOUBLE_EQ(clocks[i], clocks[0]) << "swap " << i;
    EXPECT_GT(clocks.back(), clocks[0]);
}
