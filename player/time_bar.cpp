// player/time_bar.cpp — the time, the scene and a bar of the timeline over the picture.
#include "player/time_bar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/gl.h"
#include "scene/overlay_space.h"

namespace {

constexpr float kBandHeight = 26.0f;
constexpr float kBarLeft = 8.0f, kBarRight = 632.0f, kBarBottom = 20.0f, kBarTop = 23.0f;
// A finger is broad and the band narrow: taps this far above the band still count as on it.
constexpr float kTapMargin = 34.0f;

void Rectangle(float x0, float y0, float x1, float y1) {
    glBegin(GL_TRIANGLE_STRIP);
    glVertex2f(x0, y0);
    glVertex2f(x0, y1);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glEnd();
}

}  // namespace

void FormatTimeBarText(double now, const char* sceneName, bool paused, char* text, int size) {
    std::snprintf(text, static_cast<std::size_t>(size), "%6.2f s   %s%s", now, sceneName, paused ? "   paused" : "");
}

float TimeBarFill(double now, double end) {
    if (!(end > 0.0)) return 0.0f;
    return static_cast<float>(std::clamp(now / end, 0.0, 1.0));
}

bool TimeBarSeconds(float x, float y, double end, double& seconds) {
    if (!std::isfinite(x) || !(y < kBandHeight + kTapMargin) || !(end > 0.0)) return false;
    const float along = std::clamp((x - kBarLeft) / (kBarRight - kBarLeft), 0.0f, 1.0f);
    seconds = static_cast<double>(along) * end;
    return true;
}

void DrawTimeBar(double now, double end, const char* sceneName, bool paused, PrintText print) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_TRANSFORM_BIT);
    PushOverlaySpace();
    glDisable(GL_TEXTURE_1D);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
    Rectangle(0.0f, 0.0f, 640.0f, kBandHeight);
    glColor4f(0.4f, 0.4f, 0.4f, 1.0f);
    Rectangle(kBarLeft, kBarBottom, kBarRight, kBarTop);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    Rectangle(kBarLeft, kBarBottom, kBarLeft + (kBarRight - kBarLeft) * TimeBarFill(now, end), kBarTop);

    char text[96];
    FormatTimeBarText(now, sceneName, paused, text, sizeof text);
    glDisable(GL_BLEND);
    glRasterPos2i(8, 5);
    if (print) print(text);

    PopOverlaySpace();
    glPopAttrib();
}
