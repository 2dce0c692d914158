// app/frame_stats.cpp — frame-rate measurement and its one line of text.
#include "app/frame_stats.h"

#include <cstdio>

#include "app/bitmap_font.h"
#include "platform/gl.h"
#include "platform/tick.h"
#include "scene/overlay_space.h"

void FrameStats::CountFrame(float now) {
    if (!started) {
        lastSecond = now;
        started = true;
    }
    ++frameCount;
    if (now - lastSecond >= 1.0f) {
        totalFrames += static_cast<float>(frameCount);
        currentFps = static_cast<float>(frameCount) / (now - lastSecond);
        if (currentFps < minFps) minFps = currentFps;
        totalTime += now - lastSecond;
        lastSecond = now;
        frameCount = 0;
    }
}

void FrameStats::CountFrameAtTick(std::uint32_t tick) {
    // Seconds since the first counted frame: a float of milliseconds since boot would round
    // its frames to the nearest 16 ms or worse after a few days.
    if (!tickSet) {
        firstTick = tick;
        tickSet = true;
    }
    CountFrame(static_cast<float>(static_cast<double>(tick - firstTick) * 0.001));
}

float FrameStats::Average() const { return totalTime != 0.0f ? totalFrames / totalTime : 0.0f; }

std::string FrameStats::Text() const {
    char text[80];
    std::snprintf(text, sizeof text, "%4.2f FPS; Average Frame Rate : [%4.2f]; Min. FPS : [%4.2f]", currentFps,
                  Average(), minFps);
    return text;
}

FrameStats& GlobalFrameStats() {
    static FrameStats stats;
    return stats;
}

void DrawFrameStats() {
    FrameStats& stats = GlobalFrameStats();
    stats.CountFrameAtTick(platform::GetTickCount());
    const std::string text = stats.Text();

    // White glyphs whatever the scene left on: nothing may light, fog, texture, blend or hide
    // them. The switches and the colour are as the scene left them afterwards.
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    PushOverlaySpace();
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_1D);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    glRasterPos2i(1, 3);
    for (char c : text) font.PrintChar(c);
    PopOverlaySpace();
    glPopAttrib();
}
