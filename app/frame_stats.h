// app/frame_stats.h — the frame-rate line drawn at the bottom left of the screen.
#pragma once

#include <cstdint>
#include <string>

// The measurement behind the line: windows of at least one second, closed on the first frame
// after the second is over.
struct FrameStats {
    int frameCount = 0;
    float currentFps = 0.0f;
    float minFps = 9999.0f;
    float totalFrames = 0.0f;
    float totalTime = 0.0f;
    float lastSecond = 0.0f;
    bool started = false;
    std::uint32_t firstTick = 0;
    bool tickSet = false;

    // Counts one frame at `now` seconds.
    void CountFrame(float now);
    // Counts one frame at millisecond tick `tick` (wraps like the tick counter).
    void CountFrameAtTick(std::uint32_t tick);
    float Average() const;
    // "%4.2f FPS; Average Frame Rate : [%4.2f]; Min. FPS : [%4.2f]", at most 79 characters.
    std::string Text() const;
};

// Counts the frame and draws the line. Call once per drawn frame, before the swap; leaves
// GL_MODELVIEW selected, GL_TEXTURE_2D on and GL_BLEND off.
void DrawFrameStats();

// The program's statistics (for tests).
FrameStats& GlobalFrameStats();
