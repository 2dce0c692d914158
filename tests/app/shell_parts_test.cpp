// Pieces of the shell that need no window: extension matching, frame statistics, options,
// benchmark figures and the PNG encoder.
#include <gtest/gtest.h>

#include <zlib.h>

#include "app/benchmark.h"
#include "app/extensions.h"
#include "app/frame_stats.h"
#include "app/options.h"
#include "image/png_writer.h"

TEST(Extensions, OnlyWholeNamesMatch) {
    const char* list = "GL_ARB_multitexture GL_EXT_texture_env_combine_plus GL_NV_fence";
    EXPECT_TRUE(ExtensionListHas(list, "GL_ARB_multitexture"));
    EXPECT_TRUE(ExtensionListHas(list, "GL_NV_fence"));   // last token, no trailing space
    EXPECT_FALSE(ExtensionListHas(list, "GL_EXT_texture_env_combine"));   // a prefix only
    EXPECT_FALSE(ExtensionListHas(list, "GL_ARB_MULTITEXTURE"));          // case-sensitive
    EXPECT_FALSE(ExtensionListHas(list, "GL_NV"));
    EXPECT_FALSE(ExtensionListHas(list, nullptr));
    EXPECT_FALSE(ExtensionListHas(nullptr, "GL_NV_fence"));
    EXPECT_FALSE(ExtensionListHas("", ""));
    const std::string longToken = std::string(2000, 'x') + " GL_NV_fence";
    EXPECT_TRUE(ExtensionListHas(longToken.c_str(), "GL_NV_fence"));
}

TEST(FrameStats, MeasurementWindowsAndStalls) {
    FrameStats stats;
    EXPECT_EQ(stats.Text(), "0.00 FPS; Average Frame Rate : [0.00]; Min. FPS : [9999.00]");
    // Exactly 60 frames in the first second: the first opens the window, the 60th closes it.
    for (int i = 0; i < 60; ++i) stats.CountFrame(100.0f + static_cast<float>(i) / 59.0f);
    EXPECT_NEAR(stats.currentFps, 60.0f, 0.01f);
    EXPECT_NEAR(stats.Average(), 60.0f, 0.01f);
    EXPECT_NEAR(stats.minFps, 60.0f, 0.01f);
    stats.CountFrame(103.5f);   // a stall of 2.5 s closes one window with one frame
    EXPECT_NEAR(stats.currentFps, 1.0f / 2.5f, 1e-3f);
    EXPECT_NEAR(stats.minFps, 0.4f, 1e-3f);
    EXPECT_NEAR(stats.Average(), 61.0f / 3.5f, 0.01f);
    EXPECT_LE(stats.Text().size(), 79u);
}

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

TEST(Benchmark, SummaryFigures) {
    const FrameTimeSummary empty = Summarize({});
    EXPECT_EQ(empty.frames, 0);
    std::vector<double> times;
    for (int i = 1; i <= 200; ++i) times.push_back(i);
    const FrameTimeSummary s = Summarize(times);
    EXPECT_EQ(s.frames, 200);
    EXPECT_DOUBLE_EQ(s.mean, 100.5);
    EXPECT_DOUBLE_EQ(s.median, 100.5);
    EXPECT_DOUBLE_EQ(s.p99, 198.0);
    EXPECT_DOUBLE_EQ(s.worst, 200.0);
    Benchmark benchmark;
    benchmark.Record("scene one", 2);
    benchmark.Record("scene two", 4);
    benchmark.Record("scene one", 6);
    ASSERT_EQ(benchmark.Sections().size(), 2u);
    EXPECT_EQ(benchmark.Sections()[0].first, "scene one");
    EXPECT_DOUBLE_EQ(Summarize(benchmark.AllFrames()).mean, 4.0);
}

// The split line gives the two shares of a section's time; waiting is summed per section, and a
// share is kept within 0..100 % when the clocks disagree.
TEST(Benchmark, SplitsFrameTimeBetweenOwnWorkAndWaiting) {
    EXPECT_EQ(FormatTimeSplit("scene one", 20.0, 5.0),
              "scene one    own code and submission  75.0 %, waiting on the driver  25.0 %");
    EXPECT_EQ(FormatTimeSplit("scene two", 10.0, 12.0),
              "scene two    own code and submission   0.0 %, waiting on the driver 100.0 %");
    EXPECT_EQ(FormatTimeSplit("scene four", 0.0, 0.0),
              "scene four   own code and submission   0.0 %, waiting on the driver   0.0 %");
    Benchmark benchmark;
    benchmark.Record("scene one", 10, 4);
    benchmark.Record("scene two", 8, 1);
    benchmark.Record("scene one", 10, 2);
    ASSERT_EQ(benchmark.WaitTotals().size(), 2u);
    EXPECT_DOUBLE_EQ(benchmark.WaitTotals()[0], 6.0);
    EXPECT_DOUBLE_EQ(benchmark.WaitTotals()[1], 1.0);
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    benchmark.Print(out, 0.5);
    std::rewind(out);
    std::string text;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, out)) text += buffer;
    std::fclose(out);
    EXPECT_NE(text.find("scene one    own code and submission  70.0 %, waiting on the driver  30.0 %\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("scene two    own code and submission  87.5 %, waiting on the driver  12.5 %\n"),
              std::string::npos)
        << text;
}

TEST(PngWriter, EncodesRowsTopFirst) {
    const std::uint8_t rgb[] = {1, 2, 3, 4, 5, 6};   // 1 × 2: bottom row first
    const std::vector<std::uint8_t> png = EncodePNG(1, 2, rgb);
    ASSERT_GT(png.size(), 8u + 25 + 12);
    EXPECT_EQ(png[1], 'P');
    // IDAT starts after the signature (8) and the IHDR chunk (25).
    const std::size_t idat = 8 + 25;
    const std::uint32_t length = (png[idat] << 24) | (png[idat + 1] << 16) | (png[idat + 2] << 8) | png[idat + 3];
    std::vector<std::uint8_t> raw(8);
    uLongf rawSize = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &rawSize, png.data() + idat + 8, length), Z_OK);
    EXPECT_EQ(raw, (std::vector<std::uint8_t>{0, 4, 5, 6, 0, 1, 2, 3}));
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
