// Display and recording options: their values, the contradictions refused with one line, the
// encoder's quality settings, and a recording at twice the size.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/video_pipe.h"
#include "support/bmp_files.h"
#include "support/gl_test_context.h"
#include "support/run_command.h"

namespace {

bool Parse(std::vector<const char*> args, Options& options, std::string& error) {
    args.insert(args.begin(), "undertow");
    return ParseOptions(static_cast<int>(args.size()), const_cast<char**>(args.data()), options, error);
}

using testing_support::RunCommand;

std::string After(const std::vector<std::string>& args, const char* flag) {
    const auto at = std::find(args.begin(), args.end(), flag);
    return at != args.end() && at + 1 != args.end() ? *(at + 1) : std::string();
}

}  // namespace

TEST(DisplayOptions, ValuesAndTheirLimits) {
    Options options;
    std::string error;
    ASSERT_TRUE(Parse({}, options, error));
    EXPECT_EQ(options.scale, 1);
    EXPECT_EQ(options.msaa, 0);
    EXPECT_TRUE(options.vsync);
    EXPECT_FALSE(options.windowed);

    ASSERT_TRUE(Parse({"--scale", "3", "--msaa", "4", "--no-vsync", "--size", "1024x768"}, options, error)) << error;
    EXPECT_EQ(options.scale, 3);
    EXPECT_EQ(options.msaa, 4);
    EXPECT_FALSE(options.vsync);
    EXPECT_EQ(options.windowWidth, 1024);
    EXPECT_EQ(options.windowHeight, 768);
    EXPECT_TRUE(options.windowed) << "a window size asks for a window";

    for (std::vector<const char*> bad : {std::vector<const char*>{"--scale", "0"}, {"--scale", "5"}, {"--msaa", "17"},
                                         {"--size", "800"}, {"--size", "800x"}, {"--size", "x600"}, {"--size", "0x600"},
                                         {"--size", "800x600x2"}, {"--crf", "52"}, {"--scale"}}) {
        Options fresh;
        EXPECT_FALSE(Parse(bad, fresh, error)) << bad[0] << " " << (bad.size() > 1 ? bad[1] : "");
        EXPECT_NE(error.find(bad[0]), std::string::npos) << error;
    }
}

TEST(DisplayOptions, ContradictionsAreRefusedWithOneLine) {
    struct Case {
        std::vector<const char*> args;
        const char* named;
    };
    const Case cases[] = {
        {{"--exclusive", "--windowed"}, "--windowed"},
        {{"--windowed", "--exclusive"}, "--exclusive"},
        {{"--exclusive", "--size", "800x600"}, "--size"},
        {{"--capture", "a.mkv", "--lossless", "--crf", "10"}, "--crf"},
    };
    for (const Case& c : cases) {
        Options options;
        std::string error;
        EXPECT_FALSE(Parse(c.args, options, error)) << c.named;
        EXPECT_NE(error.find(c.named), std::string::npos) << error;
    }
    std::string output;
    const int code = RunCommand(std::string(UNDERTOW_BINARY_DIR) + "/undertow --exclusive --windowed", output);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    EXPECT_NE(output.find("--exclusive"), std::string::npos) << output;
}

TEST(DisplayOptions, EncoderQualityAndLosslessRecording) {
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

TEST(DisplayOptions, RecordingAtTwiceTheSizeIsTwiceAsLarge) {
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
