// app/benchmark.h — frame-time figures per scene and for the whole run.
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

class Benchmark {
public:
    // Adds one frame's wall-clock time to the named section (sections keep their first-seen order).
    void Record(const std::string& section, double milliseconds);
    void Print(std::FILE* out, double loadSeconds) const;
    bool WriteJson(const std::string& path, double loadSeconds) const;

    const std::vector<std::pair<std::string, std::vector<double>>>& Sections() const { return sections; }
    std::vector<double> AllFrames() const;

private:
    std::vector<std::pair<std::string, std::vector<double>>> sections;
};
