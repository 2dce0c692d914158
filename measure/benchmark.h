// measure/benchmark.h — frame-time figures per scene and for the whole run.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

// Summary of a run of frame times, in milliseconds.
struct FrameTimeSummary {
    long frames = 0;
    double mean = 0;
    double median = 0;
    double p99 = 0;     // nearest-rank 99th percentile
    double worst = 0;
};

FrameTimeSummary Summarize(std::vector<double> milliseconds);

// One line splitting a section's frame time between the main thread's own work (the program's
// code and the driver's processing of what it submits) and the time spent waiting for the driver
// to finish rendering (in the swap and the closing glFinish). Totals are in milliseconds; a
// section with no time reports zero shares.
std::string FormatTimeSplit(const std::string& section, double totalMs, double waitMs);

class Benchmark {
public:
    // Adds one frame's wall-clock time to the named section (sections keep their first-seen order).
    // waitMs is the part of it spent waiting for the driver to finish the picture.
    void Record(const std::string& section, double milliseconds, double waitMs = 0);
    void Print(std::FILE* out, double loadSeconds) const;
    bool WriteJson(const std::string& path, double loadSeconds) const;

    const std::vector<std::pair<std::string, std::vector<double>>>& Sections() const { return sections; }
    std::vector<double> AllFrames() const;

    // Summed waiting time of the section at the same index in Sections(), in milliseconds.
    const std::vector<double>& WaitTotals() const { return waitTotals; }

private:
    std::vector<std::pair<std::string, std::vector<double>>> sections;
    std::vector<double> waitTotals;
};
