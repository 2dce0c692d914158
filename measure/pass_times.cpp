// measure/pass_times.cpp — per-pass timing with a glFinish at every mark.
#include "measure/pass_times.h"

#include <chrono>
#include <utility>
#include <vector>

#include "platform/gl.h"

namespace pass_times {
namespace {

struct PassTotal {
    std::string section;
    std::string pass;
    long count = 0;
    double totalMs = 0;
};

bool enabled = false;
std::vector<PassTotal> totals;
std::vector<std::pair<const char*, double>> pending;   // this frame's passes so far
std::chrono::steady_clock::time_point last;

PassTotal& Find(const std::string& section, const char* pass) {
    for (PassTotal& total : totals)
        if (total.section == section && total.pass == pass) return total;
    totals.push_back({section, pass, 0, 0});
    return totals.back();
}

}  // namespace

void Enable(bool on) {
    enabled = on;
    totals.clear();
    pending.clear();
}

bool Enabled() { return enabled; }

void BeginFrame() {
    if (!enabled) return;
    glFinish();
    pending.clear();
    last = std::chrono::steady_clock::now();
}

void Mark(const char* pass) {
    if (!enabled) return;
    glFinish();
    const auto now = std::chrono::steady_clock::now();
    pending.emplace_back(pass, std::chrono::duration<double, std::milli>(now - last).count());
    last = now;
}

void EndFrame(const std::string& section, const char* lastPass) {
    if (!enabled) return;
    Mark(lastPass);
    for (const auto& entry : pending) {
        PassTotal& total = Find(section, entry.first);
        total.count += 1;
        total.totalMs += entry.second;
    }
    pending.clear();
}

void Print(std::FILE* out) {
    if (totals.empty()) return;
    std::fprintf(out, "time per pass (each ended by glFinish; mean ms over the frames that drew it):\n");
    std::string section;
    for (const PassTotal& total : totals) {
        if (total.section != section) {
            section = total.section;
            double frameMs = 0;
            for (const PassTotal& other : totals)
                if (other.section == section && other.count > 0) frameMs += other.totalMs / static_cast<double>(other.count);
            std::fprintf(out, "%s (%.2f ms in all)\n", section.c_str(), frameMs);
        }
        std::fprintf(out, "  %-24s %7ld %8.2f\n", total.pass.c_str(), total.count,
                     total.count > 0 ? total.totalMs / static_cast<double>(total.count) : 0.0);
    }
}

std::string Summary() {
    std::string text;
    char line[160];
    for (const PassTotal& total : totals) {
        std::snprintf(line, sizeof line, "%s %s %ld %.3f\n", total.section.c_str(), total.pass.c_str(), total.count,
                      total.count > 0 ? total.totalMs / static_cast<double>(total.count) : 0.0);
        text += line;
    }
    return text;
}

}  // namespace pass_times
