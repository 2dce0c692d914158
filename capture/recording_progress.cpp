// capture/recording_progress.cpp — demo time, frames, speed against real time and time left.
#include "capture/recording_progress.h"

#include <algorithm>
#include <cmath>

namespace {

std::string Clock(double seconds) {
    const long whole = static_cast<long>(std::lround(std::max(0.0, seconds)));
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

}  // namespace

std::string RecordingProgress::Line(long framesDone, long totalFrames, int fps, double demoSeconds, double wallSeconds) {
    const double recorded = static_cast<double>(framesDone) / fps;
    const double speed = wallSeconds > 0 ? recorded / wallSeconds : 0.0;
    char text[160];
    if (totalFrames > 0) {
        const double left = speed > 0 ? static_cast<double>(totalFrames - framesDone) / fps / speed : 0.0;
        std::snprintf(text, sizeof text, "recording: demo %.1f s, %ld/%ld frames, %.2fx real time, %s left", demoSeconds,
                      framesDone, totalFrames, speed, speed > 0 ? Clock(left).c_str() : "?");
    } else {
        std::snprintf(text, sizeof text, "recording: demo %.1f s, %ld frames, %.2fx real time", demoSeconds, framesDone, speed);
    }
    return text;
}

void RecordingProgress::Begin(std::FILE* stream, long totalFrames, int fps, double nowSeconds) {
    out = stream;
    total = totalFrames;
    framesPerSecond = fps;
    started = nowSeconds;
    lastPrint = nowSeconds;   // the first line once there is a speed to show
}

void RecordingProgress::Print(long framesDone, double demoSeconds, double nowSeconds) {
    const std::string line = Line(framesDone, total, framesPerSecond, demoSeconds, nowSeconds - started);
    // Pad over whatever the longer line before left.
    const std::size_t pad = lastLength > line.size() ? lastLength - line.size() : 0;
    std::fprintf(out, "\r%s%*s", line.c_str(), static_cast<int>(pad), "");
    std::fflush(out);
    lastLength = line.size();
    lastPrint = nowSeconds;
}

void RecordingProgress::Update(long framesDone, double demoSeconds, double nowSeconds) {
    if (!out || nowSeconds - lastPrint < 0.25) return;
    Print(framesDone, demoSeconds, nowSeconds);
}

void RecordingProgress::End(long framesDone, double demoSeconds, double nowSeconds) {
    if (!out) return;
    Print(framesDone, demoSeconds, nowSeconds);
    std::fputc('\n', out);
    out = nullptr;
}
