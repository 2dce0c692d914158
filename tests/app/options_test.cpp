// The command line: every option, the values and their limits, the messages for wrong values,
// and the contradictions refused with one line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/options.h"
#include "support/run_command.h"

namespace {

bool Parse(std::vector<const char*> args, Options& options, std::string& error) {
    args.insert(args.begin(), "undertow");
    return ParseOptions(static_cast<int>(args.size()), const_cast<char**>(args.data()), options, error);
}

using testing_support::RunCommand;

}  // namespace

TEST(Options, ParsesEveryOptionAndRejectsBadValues) {
    const char* argv[] = {"undertow", "--windowed", "--stats", "--data", "/x", "--detail", "1", "--capture", "c",
                          "--fps", "25", "--frames", "10"};
    Options options;
    std::string error;
    ASSERT_TRUE(ParseOptions(13, const_cast<char**>(argv), options, error)) << error;
    EXPECT_TRUE(options.windowed && options.stats);
    EXPECT_EQ(options.dataDir, "/x");
    EXPECT_EQ(options.detail, 1);
    EXPECT_EQ(options.captureDir, "c");
    EXPECT_EQ(options.fps, 25);
    EXPECT_EQ(options.frames, 10);
    EXPECT_TRUE(options.UsesVirtualClock());

    for (std::vector<const char*> bad : {std::vector<const char*>{"u", "--detail", "3"},
                                         {"u", "--fps", "0"}, {"u", "--fps", "12x"}, {"u", "--data"},
                                         {"u", "--json", "f"}, {"u", "--pass-times"}, {"u", "--bogus"}}) {
        Options o;
        EXPECT_FALSE(ParseOptions(static_cast<int>(bad.size()), const_cast<char**>(bad.data()), o, error)) << bad[1];
        EXPECT_FALSE(error.empty());
    }
}

// Each wrong option says what was wrong: a value missing, another option in its place, or a
// value out of range, quoting it.
TEST(Options, MessagesSayWhatWasWrongWithTheValue) {
    struct Case {
        std::vector<const char*> argv;
        const char* message;
    };
    const Case cases[] = {
        {{"u", "--detail"}, "--detail needs a level (0, 1 or 2)"},
        {{"u", "--detail", "--windowed"}, "--detail needs a level (0, 1 or 2), not the option --windowed"},
        {{"u", "--detail", "3"}, "--detail takes 0, 1 or 2, not '3'"},
        {{"u", "--fps"}, "--fps needs a number"},
        {{"u", "--fps", "12x"}, "--fps takes a whole number from 1 to 1000, not '12x'"},
        {{"u", "--frames", "-4"}, "--frames takes a positive whole number, not '-4'"},
        {{"u", "--data", "--benchmark"}, "--data needs a folder, not the option --benchmark"},
    };
    for (const Case& c : cases) {
        Options options;
        std::string error;
        EXPECT_FALSE(ParseOptions(static_cast<int>(c.argv.size()), const_cast<char**>(c.argv.data()), options, error));
        EXPECT_EQ(error, c.message);
    }
    const char* checkGl[] = {"u", "--check-gl", "--detail", "0"};
    Options options;
    std::string error;
    ASSERT_TRUE(ParseOptions(4, const_cast<char**>(checkGl), options, error)) << error;
    EXPECT_TRUE(options.checkGl);
    EXPECT_EQ(options.detail, 0);
}

TEST(Options, StartTakesSecondsWithinTheTimeline) {
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

TEST(Options, DisplayValuesAndTheirLimits) {
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

TEST(Options, ContradictionsAreRefusedWithOneLine) {
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
