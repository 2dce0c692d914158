// The encoder's command line: sound and picture together, quality, lossless recording; and
// which names are video files.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "capture/frame_recorder.h"
#include "capture/video_pipe.h"

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
