// Benchmark figures: the summary of a section and the split between own work and waiting.
#include <gtest/gtest.h>

#include <vector>

#include "measure/benchmark.h"

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
