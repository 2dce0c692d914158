// The real program, run headless: the whole timeline, capture, and its failures and exit codes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/bmp_files.h"
#include "support/gl_test_context.h"
#include "support/run_command.h"

namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string output;
};

// Runs the program with `arguments` under `environment` (assignments for env(1)).
ProgramRun RunProgram(const std::string& arguments, const std::string& environment = "SDL_VIDEODRIVER=offscreen") {
    ProgramRun run;
    run.exitCode = testing_support::RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy " + environment +
                                                   " " + std::string(UNDERTOW_BINARY_DIR) + "/undertow " + arguments,
                                               run.output);
    return run;
}

// An asset root with the real pictures but the given music file (empty: none).
std::string RootWithMusic(const std::vector<std::uint8_t>& music) {
    const std::string root = testing_support::MakeTempFolder("music");
    const std::string assets = testing_support::TestAssetRoot();
    ::symlink((assets + "/TEKSTURY").c_str(), (root + "/TEKSTURY").c_str());
    ::mkdir((root + "/DANE").c_str(), 0755);
    if (!music.empty()) testing_support::WriteFile(root + "/DANE/Oblomar.mp3", music);
    return root;
}

}  // namespace

// With GL errors checked after the loading screen and every frame: none may show.
TEST(Program, PlaysTheWholeTimelineHeadlessAndEndsByItself) {
    const ProgramRun run = RunProgram("--benchmark --fps 2 --check-gl --data " + testing_support::TestAssetRoot());
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output.find("GL error"), std::string::npos) << run.output;
    for (const char* section : {"scene one", "scene two", "scene four", "scene three", "load time"}) {
        EXPECT_NE(run.output.find(section), std::string::npos) << section << "\n" << run.output;
    }
    // 200 s at 2 steps a second, plus the step that passes the end.
    const std::size_t all = run.output.find("\nall ");
    ASSERT_NE(all, std::string::npos) << run.output;
    EXPECT_EQ(std::strtol(run.output.c_str() + all + 5, nullptr, 10), 402) << run.output;
}

TEST(Program, CaptureWritesOneFramePerStep) {
    const std::string dir = testing_support::MakeTempFolder("capture") + "/frames";
    const ProgramRun run = RunProgram("--capture " + dir + " --fps 10 --frames 3 --data " + testing_support::TestAssetRoot());
    ASSERT_EQ(run.exitCode, 0) << run.output;
    struct stat info {};
    for (const char* name : {"/frame_000000.png", "/frame_000001.png", "/frame_000002.png"}) {
        EXPECT_EQ(::stat((dir + name).c_str(), &info), 0) << name;
        EXPECT_GT(info.st_size, 100);
    }
    EXPECT_NE(::stat((dir + "/frame_000003.png").c_str(), &info), 0);
}

TEST(Program, SetupFailuresSayWhyAndExitNonZero) {
    ProgramRun run = RunProgram("--benchmark --data /nonexistent/folder");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("/nonexistent/folder"), std::string::npos) << run.output;

    run = RunProgram("--data " + testing_support::TestAssetRoot(), "SDL_VIDEODRIVER=");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("no display"), std::string::npos) << run.output;

    run = RunProgram("--bogus");
    EXPECT_EQ(run.exitCode, 1);
}

TEST(Program, MusicProblemsExitWithMinusOne) {
    ProgramRun run = RunProgram("--benchmark --frames 2 --data " + RootWithMusic({}));
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_NE(run.output.find("Oblomar.mp3"), std::string::npos) << run.output;

    run = RunProgram("--benchmark --frames 2 --data " + RootWithMusic(std::vector<std::uint8_t>(4096, 0x55)));
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_NE(run.output.find("Oblomar.mp3"), std::string::npos) << run.output;

    // A plain run whose audio output cannot be opened.
    run = RunProgram("--frames 2 --data " + testing_support::TestAssetRoot(),
                     "SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=nosuchdriver");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_NE(run.output.find("audio"), std::string::npos) << run.output;
}

// A benchmark whose figures cannot be written is a failed run, as a recording is.
TEST(Program, JsonThatCannotBeWrittenExitsOne) {
    const ProgramRun run = RunProgram("--benchmark --frames 2 --json /nonexistent/folder/figures.json --data " +
                                      testing_support::TestAssetRoot());
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("cannot write /nonexistent/folder/figures.json"), std::string::npos) << run.output;
}

// A live run draws at most --max-fps frames a second, however fast the driver is: 30 frames
// at 20 a second take at least a second and a half. (Whatever the driver's speed, the cap only
// ever slows a run down, so this bound holds on any machine.)
TEST(Program, LiveFramesKeepToTheirPace) {
    const std::string data = " --data " + testing_support::TestAssetRoot();
    std::string output;
    const int code = testing_support::RunCommand(
        "env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen /usr/bin/time -f 'wall %e' " +
            std::string(UNDERTOW_BINARY_DIR) + "/undertow --start 20 --frames 30 --max-fps 20" + data,
        output);
    ASSERT_EQ(code, 0) << output;
    const std::size_t at = output.rfind("wall ");
    ASSERT_NE(at, std::string::npos) << output;
    const std::size_t reached = output.find("reached 20.00 s of the demo in ");
    ASSERT_NE(reached, std::string::npos) << output;
    const double catchUp = std::atof(output.c_str() + reached + 31);
    EXPECT_GE(std::atof(output.c_str() + at + 5) - catchUp, 1.4) << output;
}
