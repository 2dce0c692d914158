// measure/benchmark.cpp — collecting and reporting frame times.
#include "measure/benchmark.h"

#include <algorithm>
#include <cmath>

FrameTimeSummary Summarize(std::vector<double> milliseconds) {
    FrameTimeSummary summary;
    if (milliseconds.empty()) return summary;
    std::sort(milliseconds.begin(), milliseconds.end());
    const std::size_t n = milliseconds.size();
    double total = 0;
    for (double value : milliseconds) total += value;
    summary.frames = static_cast<long>(n);
    summary.mean = total / static_cast<double>(n);
    summary.median = n % 2 ? milliseconds[n / 2] : (milliseconds[n / 2 - 1] + milliseconds[n / 2]) / 2.0;
    const auto rank = static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(n)));
    summary.p99 = milliseconds[std::min(n, std::max<std::size_t>(rank, 1)) - 1];
    summary.worst = milliseconds.back();
    return summary;
}

std::string FormatTimeSplit(const std::string& section, double totalMs, double waitMs) {
    double waitShare = 0;
    if (totalMs > 0) waitShare = std::min(1.0, std::max(0.0, waitMs / totalMs));
    char line[160];
    std::snprintf(line, sizeof line, "%-12s own code and submission %5.1f %%, waiting on the driver %5.1f %%",
                  section.c_str(), totalMs > 0 ? 100.0 * (1.0 - waitShare) : 0.0, 100.0 * waitShare);
    return line;
}

void Benchmark::Record(const std::string& section, double milliseconds, double waitMs) {
    for (std::size_t i = 0; i < sections.size(); ++i) {
        if (sections[i].first == section) {
            sections[i].second.push_back(milliseconds);
            waitTotals[i] += waitMs;
            return;
        }
    }
    sections.push_back({section, {milliseconds}});
    waitTotals.push_back(waitMs);
}

std::vector<double> Benchmark::AllFrames() const {
    std::vector<double> all;
    for (const auto& entry : sections) all.insert(all.end(), entry.second.begin(), entry.second.end());
    return all;
}

void Benchmark::Print(std::FILE* out, double loadSeconds) const {
    std::fprintf(out, "load time: %.3f s\n", loadSeconds);
    std::fprintf(out, "%-12s %8s %9s %9s %9s %9s   (frame times in ms)\n", "section", "frames", "mean", "median",
                 "p99", "worst");
    auto line = [out](const std::string& name, const FrameTimeSummary& s) {
        std::fprintf(out, "%-12s %8ld %9.2f %9.2f %9.2f %9.2f\n", name.c_str(), s.frames, s.mean, s.median, s.p99,
                     s.worst);
    };
    for (const auto& entry : sections) line(entry.first, Summarize(entry.second));
    line("all", Summarize(AllFrames()));
    std::fprintf(out, "share of frame time (waiting = in the swap and the closing glFinish):\n");
    for (std::size_t i = 0; i < sections.size(); ++i) {
        double total = 0;
        for (double value : sections[i].second) total += value;
        std::fprintf(out, "%s\n", FormatTimeSplit(sections[i].first, total, waitTotals[i]).c_str());
    }
}

bool Benchmark::WriteJson(const std::string& path, double loadSeconds) const {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return false;
    auto object = [file](const FrameTimeSummary& s) {
        std::fprintf(file, "{\"frames\": %ld, \"mean_ms\": %.4f, \"median_ms\": %.4f, \"p99_ms\": %.4f, \"worst_ms\": %.4f}",
                     s.frames, s.mean, s.median, s.p99, s.worst);
    };
    std::fprintf(file, "{\n  \"load_seconds\": %.4f,\n  \"sections\": {", loadSeconds);
    bool first = true;
    for (const auto& entry : sections) {
        std::fprintf(file, "%s\n    \"%s\": ", first ? "" : ",", entry.first.c_str());
        object(Summarize(entry.second));
        first = false;
    }
    std::fprintf(file, "\n  },\n  \"all\": ");
    object(Summarize(AllFrames()));
    std::fprintf(file, "\n}\n");
    return std::fclose(file) == 0;
}
