// effects/lens_flare.cpp — occlusion test, ray noise and the drawing of the flare.
#include "effects/lens_flare.h"

#include <algorithm>
#include <cmath>

#include "geometry/window_point.h"
#include "platform/letterbox.h"
#include "platform/picture_target.h"
#include "platform/random.h"

LensFlareState lensFlare;

namespace {

// One ring of the chain: its place on the line (0 the screen centre, -1 the sun), colour, size.
struct ChainRing {
    float k;
    float r, g, b;
    float halfSize;
};
constexpr ChainRing kFixedRings[4] = {
    {0.8f, 0.3f, 0.1f, 0.5f, 60.0f},
    {0.6f, 0.5f, 0.1f, 0.3f, 100.0f},
    {0.4f, 0.1f, 0.5f, 0.3f, 40.0f},
    {0.2f, 0.3f, 0.5f, 0.1f, 10.0f},
};

void DrawChain(float dx, float dy) {
    for (const ChainRing& ring : kFixedRings) {
        glColor3f(ring.r, ring.g, ring.b);
        DrawFlareQuad(320.0f + ring.k * dx, 240.0f + ring.k * dy, ring.halfSize);
    }
    // Ten more from behind the sun to beyond the centre; their size and colour follow k, and
    // the ones on the sun's side (k < 0) come out mirrored.
    for (int i = 0; i < 10; ++i) {
        const float k = i * 0.15555555f - 0.7f;
        glColor3f(0.3f + 0.3f * k, 0.1f + 0.1f * k, 0.5f + 0.5f * k);
        DrawFlareQuad(320.0f + k * dx, 240.0f + k * dy, 20.0f * k);
    }
}

}  // namespace

bool FindSunOnScreen(float& x, float& y) {
    // Worked out on the CPU rather than with one point in feedback mode: on Mesa, a frame that
    // renders in feedback mode and also draws immediate-mode geometry leaves memory behind in
    // the driver for good, so a long run grew without bound. The answer is the same point
    // transform, clip test and viewport that feedback mode applies.
    GLfloat modelView[16], projection[16];
    GLint viewport[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    return ProjectToWindow(modelView, projection, viewport, 0.0f, 0.0f, 0.0f, x, y);
}

void KeepInsideViewport(int& x, int& y) {
    // A point on the right or top clip plane lands one pixel beyond the last; a read outside
    // the window would return nothing.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    x = std::clamp(x, viewport[0], viewport[0] + std::max(viewport[2], 1) - 1);
    y = std::clamp(y, viewport[1], viewport[1] + std::max(viewport[3], 1) - 1);
}

float ReadDepthUnderSun(int x, int y) {
    KeepInsideViewport(x, y);
    return platform::ReadPictureDepth(x, y);
}

void DrawLensFlare(const LensFlareTextures& textures, RayNoiseTexels& texels, float frameTime) {
    float sx = 0.0f, sy = 0.0f;
    if (!FindSunOnScreen(sx, sy)) return;   // off screen: the visibility stays as it was

    const float depth = ReadDepthUnderSun(static_cast<int>(sx), static_cast<int>(sy));
    // Fully in or out in a quarter of a second.
    if (depth == 1.0f)
        lensFlare.sunVisibility = std::min(lensFlare.sunVisibility + 4.0f * frameTime, 1.0f);
    else
        lensFlare.sunVisibility = std::max(lensFlare.sunVisibility - 4.0f * frameTime, 0.0f);
    if (lensFlare.sunVisibility <= 0.0f) return;

    // The flare is drawn in overlay units; a picture larger than 640 × 480 scales them back.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    platform::WindowToOverlay(platform::PixelRect{viewport[0], viewport[1], viewport[2], viewport[3]}, sx, sy);
    const float dx = 320.0f - sx, dy = 240.0f - sy;   // from the sun to the screen centre

    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_1D);

    glBindTexture(GL_TEXTURE_1D, textures.rayNoise);
    UpdateRayNoise(texels, frameTime);

    // The rings turn as the sun moves sideways across the screen, the middle one the other way.
    const float p = 0.1f * dx * 3.14f / 180.0f;   // 3.14, not pi, like every angle of the demo
    const float v = lensFlare.sunVisibility;
    DrawRayFan(sx, sy, 200.0f * v, 1.0f, p);
    DrawRayFan(sx, sy, 400.0f * v, 1.0f, 1.57f - p);
    DrawRayFan(sx, sy, 600.0f * v, 1.0f, p + 1.0466667f);

    glDisable(GL_TEXTURE_1D);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textures.glow);
    glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ONE);
    glColor3f(1.0f * v, 0.6f * v, 0.2f * v);
    DrawFlareQuad(sx, sy, 100.0f);

    // The chain is drawn at full strength whenever the visibility is above 0.
    glBindTexture(GL_TEXTURE_2D, textures.ring);
    DrawChain(dx, dy);

    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void UpdateRayNoise(RayNoiseTexels& texels, float frameTime) {
    LensFlareState& s = lensFlare;
    s.noiseBlend += 1.5f * frameTime;
    if (s.noiseBlend > 1.0f) {
        s.noiseBlend = 0.0f;
        for (int i = 0; i < 256; ++i) {
            s.previousNoise[i] = s.nextNoise[i];
            s.nextNoise[i] = static_cast<float>(platform::Rand() % 64);
        }
    }
    if (s.firstNoise) {
        for (int i = 0; i < 256; ++i) {
            s.previousNoise[i] = static_cast<float>(platform::Rand() % 64);
            texels[i] = static_cast<std::uint8_t>(s.previousNoise[i]);
            s.nextNoise[i] = static_cast<float>(platform::Rand() % 64);
        }
    } else {
        for (int i = 0; i < 256; ++i) {
            const int step = static_cast<int>((s.nextNoise[i] - s.previousNoise[i]) * s.noiseBlend);   // towards 0
            texels[i] = static_cast<std::uint8_t>(static_cast<int>(s.previousNoise[i]) + step);
        }
    }
    glTexSubImage1D(GL_TEXTURE_1D, 0, 0, 256, GL_LUMINANCE, GL_UNSIGNED_BYTE, texels);
    s.firstNoise = false;
}

void DrawRayFan(float x, float y, float outer, float inner, float phase) {
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i < 36; ++i) {
        const float angle = 0.17444445f * i + phase;
        const float c = std::cos(angle), s = std::sin(angle);
        glTexCoord1f(0.027777778f * i);
        glColor3f(0.0f, 0.0f, 0.0f);
        glVertex2f(x + outer * c, y + outer * s);
        glColor3f(1.0f, 1.0f, 1.0f);
        glVertex2f(x + inner * c, y + inner * s);
    }
    // Closing pair back at the starting angle.
    const float c = std::cos(phase), s = std::sin(phase);
    glTexCoord1f(1.0f);
    glColor3f(0.0f, 0.0f, 0.0f);
    glVertex2f(x + outer * c, y + outer * s);
    glColor3f(1.0f, 1.0f, 0.0f);
    glVertex2f(x + inner * c, y + inner * s);
    glEnd();
}

void DrawFlareQuad(float x, float y, float h) {
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(x - h, y - h);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(x - h, y + h);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(x + h, y - h);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(x + h, y + h);
    glEnd();
}
