// The pieces behind recording and a later start: names, frame arithmetic, the encoder's
// command line, the progress line, option parsing, PNG rows and the clock handover.
#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/frame_recorder.h"
#include "app/options.h"
#include "app/recording_progress.h"
#include "app/run_control.h"
#include "app/video_pipe.h"
#include "image/png_writer.h"
#include "platform/tick.h"

namespace {

bool Parse(std::vector<std::string> args, Options& options, std::string& error) {
    args.insert(args.begin(), "undertow");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(&arg[0]);
    return ParseOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

// The value after `flag` in an argument list, or "" when the flag is absent.
std::string After(const std::vector<std::string>& args, const char* flag) {
    const auto at = std::find(args.begin(), args.end(), flag);
    return at == args.end() || at + 1 == args.end() ? std::string() : *(at + 1);
}

}  // namespace

TEST(RecordingParts, VideoNamesAreToldFromFolders) {
    for (const char* name : {"out.mp4", "a/b/c.MKV", "x.mov", "clip.m4v"}) EXPECT_TRUE(IsVideoFileName(name)) << name;
    for (const char* name : {"out", "frames/", "out.mp4/", ".mp4", "dir/.mp4", "movie.mp4.d", "mp4"})
        EXPECT_FALSE(IsVideoFileName(name)) << name;
}

TEST(RecordingParts, StartFrameAndTimelineLength) {
    EXPECT_EQ(StartFrame(0, 60), 0);
    EXPECT_EQ(StartFrame(52.5, 2), 105);
    EXPECT_EQ(StartFrame(130, 60), 7800);
    EXPECT_EQ(StartFrame(0.01, 60), 1);      // the first frame at or after the time
    EXPECT_EQ(StartFrame(1.0 / 3.0, 3), 1);  // no rounding up past an exact frame
    EXPECT_EQ(TimelineFrames(200, 60), 12000);
    EXPECT_EQ(TimelineFrames(200, 2), 400);
}

TEST(RecordingParts, EncoderCommandKeepsSoundAndPictureTogether) {
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

TEST(RecordingParts, ProgressLineShowsTimeFramesSpeedAndWhatIsLeft) {
    // 600 frames at 60 fps (10 s of demo) in 20 s: half real time; 1200 frames left = 40 s.
    EXPECT_EQ(RecordingProgress::Line(600, 1800, 60, 10.0, 20.0),
              "recording: demo 10.0 s, 600/1800 frames, 0.50x real time, 0:40 left");
    EXPECT_EQ(RecordingProgress::Line(60, 0, 30, 2.0, 1.0), "recording: demo 2.0 s, 60 frames, 2.00x real time");
}

TEST(RecordingParts, StartOptionTakesSecondsWithinTheTimeline) {
    Options options;
    std::string error;
    ASSERT_TRUE(Parse({"--start", "130.25", "--capture", "a.mp4"}, options, error)) << error;
    EXPECT_DOUBLE_EQ(options.startSeconds, 130.25);
    EXPECT_EQ(options.captureDir, "a.mp4");
    for (const char* bad : {"-1", "abc", "201", "nan", "1e9", "12s", ""}) {
        Options rejected;
        EXPECT_FALSE(Parse({"--start", bad}, rejected, error)) << bad;
        EXPECT_NE(error.find("--start"), std::string::npos) << error;
    }
    Options missing;
    EXPECT_FALSE(Parse({"--start"}, missing, error));
}

TEST(RecordingParts, PngFromBgraKeepsColoursAndPutsTheTopRowFirst) {
    // 1 × 2, bottom row first: a blue-ish pixel below a red one.
    const std::uint8_t bgra[] = {30, 20, 10, 255, 0, 0, 200, 255};
    const std::vector<std::uint8_t> png = EncodePNGFromBGRA(1, 2, bgra);
    const std::size_t idat = 8 + 25;
    ASSERT_GT(png.size(), idat + 8);
    ASSERT_EQ(std::string(png.begin() + idat + 4, png.begin() + idat + 8), "IDAT");
    const std::uint32_t length = (png[idat] << 24) | (png[idat + 1] << 16) | (png[idat + 2] << 8) | png[idat + 3];
    std::vector<std::uint8_t> raw(8);
    uLongf rawSize = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &rawSize, png.data() + idat + 8, length), Z_OK);
    EXPECT_EQ(rawSize, 8u);
    EXPECT_EQ(raw, (std::vector<std::uint8_t>{0, 200, 0, 0, 0, 10, 20, 30}));
}

TEST(RecordingParts, LiveClockCarriesOnFromTheVirtualOne) {
    platform::UseVirtualClock(0);
    platform::AdvanceVirtualClock(130000.0);
    const std::uint32_t reached = platform::GetTickCount();
    platform::UseLiveClockFrom(reached);
    EXPECT_FALSE(platform::IsVirtualClock());
    const std::uint32_t now = platform::GetTickCount();
    EXPECT_LT(now - reached, 1000u) << "the live clock jumped";
    platform::UseLiveClock();
}
