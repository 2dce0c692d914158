// The encoder's command line: sound and picture together, quality, lossless recording; which
// names are video files; the temporary name a recording is written under; and an encoder that
// stops taking frames.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "capture/file_replacement.h"
#include "capture/frame_recorder.h"
#include "capture/video_pipe.h"
#include "support/bmp_files.h"

namespace {

// The value after `flag` in an argument list, or "" when the flag is absent.
std::string After(const std::vector<std::string>& args, const char* flag) {
    const auto at = std::find(args.begin(), args.end(), flag);
    return at == args.end() || at + 1 == args.end() ? std::string() : *(at + 1);
}

}  // namespace

TEST(VideoPipe, VideoNamesAreToldFromFolders) {
    for (const char* name : {"out.mp4", "a/b/c.MKV", "x.mov", "clip.m4v"}) EXPECT_TRUE(IsVideoFileName(name)) << name;
    for (const char* name : {"out", "frames/", "out.mp4/", ".mp4", "dir/.mp4", "movie.mp4.d", "mp4"})
        EXPECT_FALSE(IsVideoFileName(name)) << name;
}

TEST(VideoPipe, EncoderCommandKeepsSoundAndPictureTogether) {
    VideoSettings settings;
    settings.path = "out/v.mp4";
    settings.fps = 30;
    settings.maxFrames = 300;
    settings.musicPath = "/a/DANE/Oblomar.mp3";
    settings.musicStart = 130.0;
    std::vector<std::string> args = VideoEncoderArguments(settings, 640, 480);
    EXPECT_EQ(args.front(), "ffmpeg");
    EXPECT_EQ(args.back(), "out/v.mp4");
    EXPECT_EQ(After(args, "-s"), "640x480");
    EXPECT_EQ(After(args, "-pix_fmt"), "bgra");   // the input's; the output's comes later
    EXPECT_EQ(After(args, "-framerate"), "30");
    EXPECT_EQ(After(args, "-r"), "30");
    EXPECT_EQ(After(args, "-c:v"), "libx264");
    EXPECT_NE(std::find(args.begin(), args.end(), "yuv420p"), args.end());
    // The music starts where the picture does, and never runs past it.
    const auto seek = std::find(args.begin(), args.end(), "-ss");
    const auto music = std::find(args.begin(), args.end(), settings.musicPath);
    ASSERT_NE(seek, args.end());
    ASSERT_NE(music, args.end());
    EXPECT_LT(seek, music) << "-ss must seek the music input";
    EXPECT_DOUBLE_EQ(std::stod(*(seek + 1)), 130.0);
    EXPECT_DOUBLE_EQ(std::stod(After(args, "-t")), 10.0);
    EXPECT_NE(std::find(args.begin(), args.end(), "-shortest"), args.end());

    settings.musicPath.clear();
    settings.musicStart = 0;
    settings.maxFrames = 0;
    args = VideoEncoderArguments(settings, 640, 480);
    EXPECT_EQ(std::find(args.begin(), args.end(), "-ss"), args.end());
    EXPECT_EQ(std::find(args.begin(), args.end(), "-t"), args.end());
    EXPECT_EQ(std::find(args.begin(), args.end(), "1:a"), args.end());
}

TEST(VideoPipe, EncoderQualityAndLosslessRecording) {
    VideoSettings settings;
    settings.path = "out/v.mp4";
    std::vector<std::string> args = VideoEncoderArguments(settings, 1280, 960);
    EXPECT_EQ(After(args, "-s"), "1280x960");
    EXPECT_EQ(After(args, "-c:v"), "libx264");
    EXPECT_EQ(After(args, "-crf"), "18");
    settings.crf = 30;
    EXPECT_EQ(After(VideoEncoderArguments(settings, 640, 480), "-crf"), "30");

    settings.lossless = true;
    args = VideoEncoderArguments(settings, 640, 480);
    EXPECT_EQ(After(args, "-c:v"), "libx264rgb");
    EXPECT_EQ(After(args, "-qp"), "0");
    EXPECT_EQ(std::find(args.begin(), args.end(), "yuv420p"), args.end()) << "no chroma subsampling without loss";
    settings.path = "out/v.MKV";
    args = VideoEncoderArguments(settings, 640, 480);
    EXPECT_EQ(After(args, "-c:v"), "ffv1");
    EXPECT_EQ(std::find(args.begin(), args.end(), "-crf"), args.end());
    EXPECT_EQ(args.back(), "out/v.MKV");
}

TEST(VideoPipe, TemporaryNamesSitBesideTheTargetWithItsExtension) {
    EXPECT_EQ(TemporaryNameFor("out/clip.mp4", 42), "out/clip.partial-42.mp4");
    EXPECT_EQ(TemporaryNameFor("a.b/c.MKV", 7), "a.b/c.partial-7.MKV");
    EXPECT_EQ(TemporaryNameFor("clip.mov", 1), "clip.partial-1.mov");
    EXPECT_EQ(TemporaryNameFor("dir.x/undertow", 3), "dir.x/undertow.partial-3");
}

namespace {

// A stand-in encoder that never reads its input; it writes its process id into `pidFile`.
std::string WriteStallingEncoder(const std::string& folder, std::string& pidFile) {
    const std::string path = folder + "/stalls";
    pidFile = folder + "/pid";
    std::ofstream(path) << "#!/bin/sh\necho $$ > '" << pidFile << "'\nexec sleep 60\n";
    ::chmod(path.c_str(), 0755);
    return path;
}

bool ProcessGone(const std::string& pidFile) {
    long pid = 0;
    std::ifstream(pidFile) >> pid;
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

// An encoder that takes nothing: after the stall time (here 1 s) the writes fail, and the
// encoder is ended and reaped (a zombie would still answer kill 0). Once the user asks to stop,
// the writes go on without waiting and the close gives up after the shorter time (here 1 s).
TEST(VideoPipe, AnEncoderThatStopsReadingIsEndedAndReaped) {
    const std::string folder = testing_support::MakeTempFolder("stall");
    std::string pidFile;
    VideoSettings settings;
    settings.program = WriteStallingEncoder(folder, pidFile);
    settings.path = folder + "/out.mp4";
    settings.patience.runningSeconds = 1.0;
    const std::vector<std::uint8_t> frame(320 * 240 * 4, 0x80);
    {
        VideoPipe pipe;
        std::string error;
        ASSERT_TRUE(pipe.Open(settings, 320, 240, error)) << error;
        const auto start = std::chrono::steady_clock::now();
        bool failed = false;
        for (int i = 0; i < 20 && !failed; ++i) failed = !pipe.Write(frame.data(), {});
        EXPECT_TRUE(failed);
        EXPECT_LT(SecondsSince(start), 4.0);
        EXPECT_FALSE(pipe.Close(error, false, {}));
        EXPECT_NE(error.find("took nothing and wrote nothing for 1 s"), std::string::npos) << error;
        EXPECT_TRUE(ProcessGone(pidFile));
    }

    settings.patience.runningSeconds = 30.0;
    settings.patience.stoppingSeconds = 1.0;
    ::remove(pidFile.c_str());
    VideoPipe pipe;
    std::string error;
    ASSERT_TRUE(pipe.Open(settings, 320, 240, error)) << error;
    const auto start = std::chrono::steady_clock::now();
    auto stopAfterHalfASecond = [start] { return SecondsSince(start) > 0.5; };
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(pipe.Write(frame.data(), stopAfterHalfASecond)) << i;
    EXPECT_FALSE(pipe.Close(error, true, stopAfterHalfASecond));
    EXPECT_LT(SecondsSince(start), 3.0);
    EXPECT_NE(error.find("did not finish within 1 s of the stop"), std::string::npos) << error;
    EXPECT_TRUE(ProcessGone(pidFile));
}
