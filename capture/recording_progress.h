// capture/recording_progress.h — the one progress line on stderr while a recording runs.
#pragma once

#include <cstdio>
#include <string>

class RecordingProgress {
public:
    // `totalFrames` 0: length unknown (no time left is shown).
    void Begin(std::FILE* out, long totalFrames, int fps, double nowSeconds);
    // Rewrites the line when at least a quarter of a second has passed since the last time.
    void Update(long framesDone, double demoSeconds, double nowSeconds);
    // Rewrites it a last time and ends it.
    void End(long framesDone, double demoSeconds, double nowSeconds);

    // The line's text, without the carriage return.
    static std::string Line(long framesDone, long totalFrames, int fps, double demoSeconds, double wallSeconds);

private:
    void Print(long framesDone, double demoSeconds, double nowSeconds);

    std::FILE* out = nullptr;
    long total = 0;
    int framesPerSecond = 60;
    double started = 0;
    double lastPrint = -1;
    std::size_t lastLength = 0;
};
