// Recording: straight to a video with its sound, a later start matching a whole run frame for
// frame, a recording stopped early, an encoder that is missing, fails or hangs, a file that only
// a finished recording replaces, and a recording at twice the size.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>

#include "support/bmp_files.h"
#include "support/gl_test_context.h"
#include "support/run_command.h"

namespace {

const char* const kEnvironment = "env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen ";

std::string Program() { return std::string(UNDERTOW_BINARY_DIR) + "/undertow"; }

using testing_support::RunCommand;

bool HaveFfmpeg() {
    std::string output;
    return RunCommand("ffmpeg -version", output) == 0 && RunCommand("ffprobe -version", output) == 0;
}

// One value that ffprobe reports for the first stream of a kind ("v" or "a").
std::string Probe(const std::string& file, const char* stream, const char* entry) {
    std::string output;
    RunCommand(std::string("ffprobe -v error -count_frames -select_streams ") + stream + " -show_entries stream=" + entry +
            " -of default=nw=1:nk=1 '" + file + "'",
        output);
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
    return output;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// The names in `folder`, sorted, separated by spaces.
std::string FolderList(const std::string& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.insert(entry.path().filename().string());
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : " ") + name;
    return list;
}

struct InterruptedRun {
    bool interrupted = false;
    int status = -1;              // the exit status; -1 when it did not exit by itself
    double secondsToExit = 1e9;   // from the Ctrl-C to the exit
    std::string output;           // stdout and stderr
};

// Runs `command` in the shell and sends it Ctrl-C (SIGINT) `delaySeconds` after its output
// first satisfies `ready`. A run still going 20 s after the Ctrl-C is killed.
InterruptedRun RunAndInterrupt(const std::string& command, const std::function<bool(const std::string&)>& ready,
                               double delaySeconds) {
    using Clock = std::chrono::steady_clock;
    InterruptedRun run;
    int fromChild[2];
    if (::pipe(fromChild) != 0) return run;
    const pid_t child = ::fork();
    if (child < 0) return run;
    if (child == 0) {
        ::dup2(fromChild[1], 1);
        ::dup2(fromChild[1], 2);
        ::close(fromChild[0]);
        ::close(fromChild[1]);
        // The interrupt must reach the program as Ctrl-C would, even where this process was
        // started with SIGINT ignored (a background job of a script) or blocked: both outlive exec.
        ::signal(SIGINT, SIG_DFL);
        sigset_t interrupt;
        sigemptyset(&interrupt);
        sigaddset(&interrupt, SIGINT);
        ::sigprocmask(SIG_UNBLOCK, &interrupt, nullptr);
        ::execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fromChild[1]);
    Clock::time_point readyAt, interruptedAt;
    bool seen = false;
    int status = 0;
    for (bool exited = false; !exited;) {
        pollfd readable{fromChild[0], POLLIN, 0};
        char buffer[512];
        if (::poll(&readable, 1, 50) > 0) {
            const ssize_t got = ::read(fromChild[0], buffer, sizeof buffer);
            if (got > 0) run.output.append(buffer, static_cast<std::size_t>(got));
        }
        exited = ::waitpid(child, &status, WNOHANG) == child;
        const Clock::time_point now = Clock::now();
        if (exited) {
            if (run.interrupted) run.secondsToExit = std::chrono::duration<double>(now - interruptedAt).count();
            break;
        }
        if (!seen && ready(run.output)) {
            seen = true;
            readyAt = now;
        }
        if (seen && !run.interrupted && std::chrono::duration<double>(now - readyAt).count() >= delaySeconds) {
            ::kill(child, SIGINT);
            run.interrupted = true;
            interruptedAt = now;
        }
        if (run.interrupted && now - interruptedAt > std::chrono::seconds(20)) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            break;
        }
    }
    // What is left to read, without waiting on a writer that outlived the run.
    ::fcntl(fromChild[0], F_SETFL, O_NONBLOCK);
    char buffer[512];
    for (ssize_t got; (got = ::read(fromChild[0], buffer, sizeof buffer)) > 0;)
        run.output.append(buffer, static_cast<std::size_t>(got));
    ::close(fromChild[0]);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::function<bool(const std::string&)> Shows(const std::string& text) {
    return [text](const std::string& output) { return output.find(text) != std::string::npos; };
}

}  // namespace

TEST(Recording, WritesAVideoWithSoundOfTheRightLength) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "no ffmpeg";
    const std::string folder = testing_support::MakeTempFolder("record");
    const std::string video = folder + "/clip.mp4";
    std::ofstream(video) << "an older file of the same name";
    std::string output;
    const int code = RunCommand(std::string(kEnvironment) + Program() + " --data " + testing_support::TestAssetRoot() +
                             " --capture " + video + " --fps 10 --frames 25",
                         output);
    ASSERT_EQ(code, 0) << output;
    EXPECT_NE(output.find("recorded 25 frames"), std::string::npos) << output;
    EXPECT_NE(output.find("recording: demo"), std::string::npos) << "no progress line\n" << output;
    EXPECT_EQ(Probe(video, "v", "codec_name"), "h264");
    EXPECT_EQ(Probe(video, "v", "pix_fmt"), "yuv420p");
    EXPECT_EQ(Probe(video, "v", "nb_read_frames"), "25");
    EXPECT_NEAR(std::atof(Probe(video, "v", "duration").c_str()), 2.5, 0.01);
    EXPECT_EQ(Probe(video, "a", "codec_name"), "aac");
    EXPECT_NEAR(std::atof(Probe(video, "a", "duration").c_str()), 2.5, 0.05);
    // No frame files on the way, and no temporary file left.
    EXPECT_EQ(FolderList(folder), "clip.mp4");
}

// Scene two at 52.5 s: the cloud has morphed, scattered and flickered by then, all of it
// per-frame state that a later start has to live through unseen.
TEST(Recording, LaterStartShowsWhatAWholeRunShows) {
    const std::string whole = testing_support::MakeTempFolder("whole");
    const std::string later = testing_support::MakeTempFolder("later");
    const std::string data = " --data " + testing_support::TestAssetRoot() + " --fps 2";
    std::string output;
    ASSERT_EQ(RunCommand(std::string(kEnvironment) + "PATH=/nonexistent " + Program() + data + " --capture " + whole +
                      " --frames 108",
                  output),
              0)
        << output;
    ASSERT_EQ(RunCommand(std::string(kEnvironment) + "PATH=/nonexistent " + Program() + data + " --capture " + later +
                      " --start 52.5 --frames 3",
                  output),
              0)
        << output;
    EXPECT_NE(output.find("reached 52.50 s"), std::string::npos) << output;
    // Frames keep their whole-run numbers: 52.5 s at 2 fps is frame 105.
    EXPECT_FALSE(Exists(later + "/frame_000104.png"));
    EXPECT_FALSE(Exists(later + "/frame_000108.png"));
    for (const char* name : {"/frame_000105.png", "/frame_000106.png", "/frame_000107.png"}) {
        const std::string a = ReadFile(whole + name), b = ReadFile(later + name);
        ASSERT_FALSE(a.empty()) << name;
        EXPECT_TRUE(a == b) << name << " differs from the whole run's";
    }
}

// Ctrl-C in the middle: the file is finished, with sound, and decodes without an error.
TEST(Recording, StoppedEarlyStillDecodes) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "no ffmpeg";
    const std::string video = testing_support::MakeTempFolder("stopped") + "/early.mp4";
    // Wait for a progress line that shows frames, then interrupt.
    const InterruptedRun run = RunAndInterrupt(
        std::string(kEnvironment) + Program() + " --data " + testing_support::TestAssetRoot() + " --capture " + video +
            " --fps 10",
        [](const std::string& text) {
            return text.find("frames, ") != std::string::npos && text.find("demo 1.") != std::string::npos;
        },
        0.0);
    const std::string& output = run.output;
    ASSERT_TRUE(run.interrupted) << output;
    EXPECT_EQ(run.status, 0) << output;
    EXPECT_NE(output.find("stopped early"), std::string::npos) << output;

    const long frames = std::atol(Probe(video, "v", "nb_read_frames").c_str());
    EXPECT_GE(frames, 10);
    EXPECT_LT(frames, 2000);
    const double videoSeconds = std::atof(Probe(video, "v", "duration").c_str());
    EXPECT_NEAR(videoSeconds, frames / 10.0, 0.01);
    EXPECT_NEAR(std::atof(Probe(video, "a", "duration").c_str()), videoSeconds, 0.1);
    std::string errors;
    EXPECT_EQ(RunCommand("ffmpeg -v error -i '" + video + "' -f null -", errors), 0);
    EXPECT_EQ(errors, "");
}

TEST(Recording, MissingOrFailingEncoderIsAFailure) {
    const std::string folder = testing_support::MakeTempFolder("noffmpeg");
    const std::string video = folder + "/none.mp4";
    const std::string args = " --data " + testing_support::TestAssetRoot() + " --capture " + video + " --fps 10 --frames 5";
    std::string output;
    EXPECT_EQ(RunCommand(std::string(kEnvironment) + "PATH=/nonexistent " + Program() + args, output), 1);
    EXPECT_NE(output.find("ffmpeg is not installed"), std::string::npos) << output;
    EXPECT_EQ(output.find("recorded"), std::string::npos) << output;
    EXPECT_FALSE(Exists(video));

    // An ffmpeg that gives up at once.
    const std::string bin = folder + "/bin";
    ::mkdir(bin.c_str(), 0755);
    {
        std::ofstream script(bin + "/ffmpeg");
        script << "#!/bin/sh\necho 'ffmpeg: cannot encode' >&2\nexit 3\n";
    }
    ::chmod((bin + "/ffmpeg").c_str(), 0755);
    EXPECT_EQ(RunCommand(std::string(kEnvironment) + "PATH=" + bin + ":/usr/bin:/bin " + Program() + args, output), 1);
    EXPECT_NE(output.find("no recording was made"), std::string::npos) << output;
    EXPECT_NE(output.find("exit status 3"), std::string::npos) << output;
    EXPECT_EQ(output.find("recorded"), std::string::npos) << output;
}

// A recording that fails, or is stopped (Ctrl-C) before its first frame, leaves the file it was
// to replace as it was, and no temporary file beside it.
TEST(Recording, AFailedRecordingLeavesTheFileItWouldReplace) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "no ffmpeg";
    const std::string folder = testing_support::MakeTempFolder("keep");
    const std::string video = folder + "/keep.mp4";
    const std::string kept = "the video that was here before";
    std::ofstream(video) << kept;
    const std::string run = std::string(kEnvironment) + Program() + " --data " + testing_support::TestAssetRoot() +
                            " --capture " + video + " --fps 10";
    std::string output;
    EXPECT_EQ(RunCommand("UNDERTOW_X264_PRESET=bogus " + run + " --frames 5", output), 1) << output;
    EXPECT_NE(output.find("no recording was made: ffmpeg failed"), std::string::npos) << output;
    EXPECT_EQ(ReadFile(video), kept);
    EXPECT_EQ(FolderList(folder), "keep.mp4");

    // Interrupted while loading, long before the first frame at 30 s.
    const InterruptedRun stopped = RunAndInterrupt(run + " --start 30", Shows("playing the timeline unseen"), 0.0);
    ASSERT_TRUE(stopped.interrupted) << stopped.output;
    EXPECT_EQ(stopped.status, 1) << stopped.output;
    EXPECT_NE(stopped.output.find("no recording was made: no frames were recorded"), std::string::npos) << stopped.output;
    EXPECT_EQ(ReadFile(video), kept);
    EXPECT_EQ(FolderList(folder), "keep.mp4");
}

namespace {

// Whether the process whose id is in `pidFile` is gone (a zombie would still answer kill 0);
// one that is not is killed, so that no test leaves it behind.
bool ProcessGone(const std::string& pidFile) {
    long pid = 0;
    std::ifstream(pidFile) >> pid;
    if (pid <= 0) return false;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) return true;
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    return false;
}

}  // namespace

// An encoder that stops taking frames — one that never reads, one that is stopped — holds
// nothing up: Ctrl-C ends the run within a few seconds as a failed recording, with the encoder
// ended and reaped and no file left.
TEST(Recording, CtrlCEndsARunWhoseEncoderHangs) {
    const std::string folder = testing_support::MakeTempFolder("hang");
    const std::string bin = folder + "/bin";
    const std::string out = folder + "/out";
    ASSERT_EQ(::mkdir(bin.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(out.c_str(), 0755), 0);
    for (const char* hang : {"exec sleep 60", "kill -STOP $$"}) {
        const std::string pidFile = folder + "/pid";
        std::remove(pidFile.c_str());
        std::ofstream(bin + "/ffmpeg") << "#!/bin/sh\necho $$ > '" << pidFile << "'\n" << hang << "\n";
        ::chmod((bin + "/ffmpeg").c_str(), 0755);
        const InterruptedRun run =
            RunAndInterrupt(std::string(kEnvironment) + "PATH=" + bin + ":/usr/bin:/bin " + Program() + " --data " +
                                testing_support::TestAssetRoot() + " --capture " + out + "/hang.mp4 --fps 10 --start 0.2",
                            Shows("reached 0.20 s"), 1.0);
        ASSERT_TRUE(run.interrupted) << hang << "\n" << run.output;
        EXPECT_LT(run.secondsToExit, 8.0) << hang << "\n" << run.output;
        EXPECT_EQ(run.status, 1) << hang << "\n" << run.output;
        EXPECT_NE(run.output.find("no recording was made"), std::string::npos) << hang << "\n" << run.output;
        EXPECT_EQ(FolderList(out), "") << hang;
        EXPECT_TRUE(ProcessGone(pidFile)) << hang << ": the encoder was left running";
    }
}

TEST(Recording, RecordingAtTwiceTheSizeIsTwiceAsLarge) {
    std::string output;
    if (RunCommand("ffprobe -version", output) != 0) GTEST_SKIP() << "no ffprobe";
    const std::string folder = testing_support::MakeTempFolder("scaled");
    const std::string run = "env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen " +
                            std::string(UNDERTOW_BINARY_DIR) + "/undertow --data " + testing_support::TestAssetRoot() +
                            " --scale 2 --fps 10 --frames 3 --capture ";
    auto probe = [&](const std::string& file) {
        std::string size;
        RunCommand("ffprobe -v error -select_streams v -show_entries stream=width,height,codec_name -of csv=p=0 '" + file + "'",
            size);
        return size;
    };
    ASSERT_EQ(RunCommand(run + folder + "/clip.mp4", output), 0) << output;
    EXPECT_EQ(probe(folder + "/clip.mp4"), "h264,1280,960\n");
    ASSERT_EQ(RunCommand(run + folder + "/clip.mkv --lossless", output), 0) << output;
    EXPECT_EQ(probe(folder + "/clip.mkv"), "ffv1,1280,960\n");
}

namespace {

// The frames of `input` as 8-bit RGB through ffmpeg, with `filter` applied when given.
std::string DecodeRgb(const std::string& input, const std::string& filter) {
    const std::string command = "ffmpeg -v error -i '" + input + "'" + (filter.empty() ? "" : " -vf '" + filter + "'") +
                                " -frames:v 1 -f rawvideo -pix_fmt rgb24 -";
    std::string bytes;
    RunCommand("{ " + command + " 2>/dev/null; }", bytes);
    return bytes;
}

double MeanDifference(const std::string& a, const std::string& b) {
    if (a.empty() || a.size() != b.size()) return 1e9;
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += std::abs(static_cast<int>(static_cast<unsigned char>(a[i])) - static_cast<unsigned char>(b[i]));
    return sum / static_cast<double>(a.size());
}

}  // namespace

// Both ways of recording say how their colours were converted (BT.709, limited range), convert
// them that way, and put the index before the data so the file plays while it downloads.
TEST(Recording, TagsItsColoursAndPutsTheIndexFirst) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "no ffmpeg";
    const std::string folder = testing_support::MakeTempFolder("colours");
    const std::string run = std::string(kEnvironment) + Program() + " --data " + testing_support::TestAssetRoot() +
                            " --fps 10 --start 25 --frames 2 --capture ";
    std::string output;
    ASSERT_EQ(RunCommand(run + folder + "/frames", output), 0) << output;
    ASSERT_EQ(RunCommand(run + folder + "/clip.mp4", output), 0) << output;
    const std::string png = folder + "/frames/frame_000250.png";
    const std::string original = DecodeRgb(png, "");
    ASSERT_EQ(original.size(), 640u * 480u * 3u) << png;
    for (const std::string& video : {folder + "/frames/undertow.mp4", folder + "/clip.mp4"}) {
        EXPECT_EQ(Probe(video, "v", "color_space"), "bt709") << video;
        EXPECT_EQ(Probe(video, "v", "color_primaries"), "bt709") << video;
        EXPECT_EQ(Probe(video, "v", "color_transfer"), "bt709") << video;
        EXPECT_EQ(Probe(video, "v", "color_range"), "tv") << video;
        const std::string bytes = ReadFile(video);
        ASSERT_NE(bytes.find("moov"), std::string::npos) << video;
        EXPECT_LT(bytes.find("moov"), bytes.find("mdat")) << video << ": the index is not at the front";
        // Decoded back with the matrix it is tagged with, the frame is the captured picture,
        // closer than with the other common matrix; half the chroma and the encoder's loss cost
        // between 2 and 3 levels on a busy frame.
        const double tagged = MeanDifference(original, DecodeRgb(video, "scale=in_color_matrix=bt709:in_range=tv"));
        const double other = MeanDifference(original, DecodeRgb(video, "scale=in_color_matrix=bt601:in_range=tv"));
        EXPECT_LT(tagged, 3.0) << video;
        EXPECT_LT(tagged, other) << video;
    }
}

// Scene three's lens flare fades with what covered the sun in the frames before; a later start
// lives through those frames with only the pixel under the sun drawn. Frames from 124 s on must
// be those of a run that showed the island from 110 s, the sun going behind the tree and out.
TEST(Recording, LaterStartInsideSceneThreeKeepsTheFlare) {
    const std::string shown = testing_support::MakeTempFolder("island-shown");
    const std::string later = testing_support::MakeTempFolder("island-later");
    const std::string data = " --data " + testing_support::TestAssetRoot() + " --fps 6";
    std::string output;
    ASSERT_EQ(RunCommand(std::string(kEnvironment) + "PATH=/nonexistent " + Program() + data + " --capture " + shown +
                             " --start 110 --frames 96",
                         output),
              0)
        << output;
    ASSERT_EQ(RunCommand(std::string(kEnvironment) + "PATH=/nonexistent " + Program() + data + " --capture " + later +
                             " --start 124 --frames 12",
                         output),
              0)
        << output;
    for (int frame = 744; frame < 756; ++frame) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame_%06d.png", frame);
        const std::string a = ReadFile(shown + name), b = ReadFile(later + name);
        ASSERT_FALSE(a.empty()) << name;
        EXPECT_TRUE(a == b) << name << " differs from the shown run's";
    }
}
