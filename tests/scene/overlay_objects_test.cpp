// Scheduled windows, fade chaining, sprite flight and caption jitter.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/gl.h"
#include "platform/random.h"
#include "scene/fade_overlay.h"
#include "scene/flying_sprite.h"
#include "scene/jitter_image.h"
#include "scene/scheduled_object.h"
#include "support/gl_test_context.h"

namespace {

constexpr float kStep = 0.04f;   // 25 frames per second

// Sets the 640 × 480 overlay space so window coordinates equal the vertices given.
void UseOverlaySpace() {
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, 1, -1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
}

struct FeedbackVertex {
    float x, y, s, t;
};

// The triangles `draw` emits, as window positions with texture coordinates.
template <typename Draw>
std::vector<std::vector<FeedbackVertex>> CaptureTriangles(Draw draw) {
    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<std::vector<FeedbackVertex>> polygons;
    // Each vertex: x, y, z, RGBA, then four texture coordinates.
    for (GLint i = 0; i < used;) {
        if (buffer[i] != GL_POLYGON_TOKEN) break;
        const int count = static_cast<int>(buffer[i + 1]);
        i += 2;
        std::vector<FeedbackVertex> polygon;
        for (int k = 0; k < count; ++k, i += 11) polygon.push_back({buffer[i], buffer[i + 1], buffer[i + 7], buffer[i + 8]});
        polygons.push_back(polygon);
    }
    return polygons;
}

}  // namespace

TEST(ScheduledObject, PicksTheFirstWindowHoldingTheTime) {
    ScheduledObject timer;
    for (float t : {-5.0f, 0.0f, 1.0f, 20.0f}) EXPECT_FALSE(timer.IsActive(t, 0)) << t;   // no windows yet

    timer.AddWindow(15, 22, 0, 0);
    timer.AddWindow(33, 40, 0, 0);
    EXPECT_TRUE(timer.IsActive(20, 0));
    EXPECT_FALSE(timer.IsActive(25, 0));
    EXPECT_TRUE(timer.Update(35, 0));
    EXPECT_FLOAT_EQ(timer.startTime, 33.0f);
    EXPECT_FALSE(timer.Update(41, 0));
    EXPECT_FLOAT_EQ(timer.startTime, 33.0f);   // the last window stays selected, inactive

    // Where windows touch, the earlier one holds the shared instant.
    ScheduledObject touching;
    touching.AddWindow(0, 1, 0, 0.5f);
    touching.AddWindow(1, 5.5f, 2, 0);
    EXPECT_TRUE(touching.IsActive(1.0f, 0));
    EXPECT_FLOAT_EQ(touching.endTime, 1.0f);
    EXPECT_FLOAT_EQ(touching.fadeOutLength, 0.5f);
    EXPECT_TRUE(touching.IsActive(1.01f, 0));
    EXPECT_FLOAT_EQ(touching.endTime, 5.5f);
    EXPECT_FLOAT_EQ(touching.fadeInLength, 2.0f);
}

TEST(FadeOverlay, AlphaChainsAcrossWindows) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    FadeOverlay fade;
    fade.SetColor(0, 0, 0);
    fade.AddWindow(0, 1, 0, 1);
    fade.AddWindow(1, 5.5f, 2, 0);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);

    float alphaAtOne = -1.0f, alphaAtThree = -1.0f, lowest = 2.0f;
    for (int frame = 0; frame <= 150; ++frame) {
        const float t = frame * kStep;
        ASSERT_EQ(fade.Update(t, frame == 0 ? 0.0f : kStep), t <= 5.5f) << t;
        if (frame == 0) { EXPECT_FLOAT_EQ(fade.color[3], 1.0f); }   // main phase of the first window
        if (frame == 25) alphaAtOne = fade.color[3];
        if (frame == 75) alphaAtThree = fade.color[3];
        if (t > 3.05f && t <= 5.5f) { EXPECT_FLOAT_EQ(fade.color[3], 1.0f) << t; }
        lowest = std::fmin(lowest, fade.color[3]);
    }
    EXPECT_NEAR(alphaAtOne, 0.0f, 0.05f);
    EXPECT_NEAR(alphaAtThree, 1.0f, 0.05f);
    // The fade-in starts from where the fade-out ended, not from a reset value.
    EXPECT_GT(lowest, -0.05f);
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
}

// A fade that records which phase each Update ran and draws nothing, so no context is needed.
class PhaseRecordingFade : public FadeOverlay {
public:
    bool Advance(float step) override {
        mainPhase = true;
        return FadeOverlay::Advance(step);
    }
    bool Draw() override { return true; }
    bool mainPhase = false;
};

TEST(FadeOverlay, CoversExactlyWhenTheMainPhaseWillDraw) {
    PhaseRecordingFade fade;
    // Scene one's five windows: touching ends, fade lengths of 0, 1, 2 and 0.33 s.
    fade.AddWindow(0.0f, 1.0f, 0.0f, 1.0f);
    fade.AddWindow(1.0f, 5.5f, 2.0f, 0.0f);
    fade.AddWindow(5.5f, 8.8f, 0.0f, 1.0f);
    fade.AddWindow(8.8f, 12.5f, 2.0f, 0.0f);
    fade.AddWindow(12.5f, 13.65f, 0.0f, 0.33f);
    int covered = 0;
    std::vector<float> times;
    for (int i = -10; i <= 1500; ++i) times.push_back(i * 0.01f);
    // The phase boundaries themselves, computed as Update computes them.
    for (float t : {3.0f, 5.5f, 8.8f - 1.0f, 10.8f, 12.5f, 13.65f - 0.33f, 13.65f}) times.push_back(t);
    for (float t : times) {
        const bool covers = fade.CoversAt(t);
        fade.mainPhase = false;
        fade.Update(t, 0.01f);
        EXPECT_EQ(covers, fade.mainPhase) << t;
        if (covers) {
            EXPECT_FLOAT_EQ(fade.color[3], 1.0f) << t;
            ++covered;
        }
    }
    // 3.0–7.8 s and 10.8–13.32 s at 0.01 s steps, plus boundary samples.
    EXPECT_GT(covered, 700);
    EXPECT_LT(covered, 760);

    fade.enabled = false;
    EXPECT_FALSE(fade.CoversAt(4.0f));
}

TEST(FlyingSprite, TravelsAndSpinsAcrossItsWindowOnly) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    UseOverlaySpace();
    FlyingSprite sprite;
    sprite.SetPath(0, 0, 100, 200);
    sprite.SetSize(10, 30);
    sprite.SetSpin(1440);
    sprite.SetTiming(14, 24, 0, 0);
    float t = 0;
    for (int frame = 0; frame <= 19 * 25; ++frame) {
        t = frame * kStep;
        sprite.Update(t, kStep);
    }
    // The first frame inside the window adds a whole step, hence a little over a half.
    EXPECT_NEAR(sprite.flightProgress, 0.5f, 0.01f);
    EXPECT_NEAR(sprite.angle, 720.0f, 10.0f);

    for (int frame = 19 * 25 + 1; frame <= 30 * 25; ++frame) sprite.Update(frame * kStep, kStep);
    EXPECT_FLOAT_EQ(sprite.flightProgress, 1.0f);
    EXPECT_NEAR(sprite.angle, 1440.0f, 10.0f);   // stops turning when the window closes
}

TEST(FlyingSprite, RotatedSquareCornersAndTextureCoordinates) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    UseOverlaySpace();
    glEnable(GL_TEXTURE_2D);
    FlyingSprite sprite;
    const auto upright = CaptureTriangles([&] { sprite.DrawRotatedSquare(100, 100, 10); });
    ASSERT_EQ(upright.size(), 2u);
    ASSERT_EQ(upright[0].size(), 3u);
    // The first triangle holds the first three corners of the strip, each with its coordinates.
    const FeedbackVertex expected[4] = {{90, 110, 0, 0}, {90, 90, 0, 1}, {110, 110, 1, 0}, {110, 90, 1, 1}};
    for (int k = 0; k < 3; ++k) {
        bool found = false;
        for (const FeedbackVertex& v : upright[0])
            found = found || (std::fabs(v.x - expected[k].x) < 1e-3f && std::fabs(v.y - expected[k].y) < 1e-3f &&
                              v.s == expected[k].s && v.t == expected[k].t);
        EXPECT_TRUE(found) << "corner " << k;
    }
    bool lastFound = false;
    for (const FeedbackVertex& v : upright[1])
        lastFound = lastFound || (std::fabs(v.x - 110) < 1e-3f && std::fabs(v.y - 90) < 1e-3f && v.s == 1 && v.t == 1);
    EXPECT_TRUE(lastFound);

    // A quarter turn (with 3.14 for pi) moves the top-left corner to the top right: clockwise.
    sprite.angle = 90.0f;
    const auto turned = CaptureTriangles([&] { sprite.DrawRotatedSquare(100, 100, 10); });
    ASSERT_EQ(turned.size(), 2u);
    const float a = 90.0f * 3.14f / 180.0f;
    const float x = 100 + 10 * (-std::cos(a) + std::sin(a)), y = 100 + 10 * (std::sin(a) + std::cos(a));
    bool cornerFound = false;
    for (const FeedbackVertex& v : turned[0])
        cornerFound = cornerFound || (v.s == 0 && v.t == 0 && std::fabs(v.x - x) < 1e-3f && std::fabs(v.y - y) < 1e-3f);
    EXPECT_TRUE(cornerFound);
    EXPECT_GT(x, 109.9f);
    glDisable(GL_TEXTURE_2D);
}

TEST(JitterImage, BrightnessFollowsThePhasesAndJumpsAreSpacedOut) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    UseOverlaySpace();
    GLuint texture = 0;
    JitterImage image(&texture);
    image.SetTiming(2.5f, 6.5f, 1.0f, 1.0f);
    image.SetRect(364, 20, 620, 276);
    platform::SRand(1);

    // A step that does not divide 0.1 evenly, so the timer never lands on 0.
    const float step = 0.03f;
    std::vector<int> jumpFrames;
    float previousTimer = image.jitterTimer;
    int firstActive = -1;
    for (int frame = 0; frame <= 250; ++frame) {
        const float t = frame * step;
        const bool active = image.Update(t, step);
        if (active && firstActive < 0) firstActive = frame;
        if (image.jitterTimer > previousTimer) jumpFrames.push_back(frame);
        previousTimer = image.jitterTimer;
        if (t > 3.52f && t < 5.48f) { EXPECT_FLOAT_EQ(image.brightness, 1.0f) << t; }
        if (frame == 100) { EXPECT_NEAR(image.brightness, 0.5f, 0.03f); }   // halfway up
        if (frame == 200) { EXPECT_NEAR(image.brightness, 0.5f, 0.03f); }   // halfway down
        ASSERT_GE(image.brightness, 0.0f);
        ASSERT_LE(image.brightness, 1.0f);
        ASSERT_GE(image.xJitter, -8);
        ASSERT_LE(image.xJitter, 7);
        ASSERT_GE(image.heightJitter, -16);
        ASSERT_LE(image.heightJitter, 15);
    }
    EXPECT_EQ(firstActive, 84);
    EXPECT_NEAR(image.brightness, 0.0f, 0.02f);   // faded out by the end of the window
    ASSERT_GE(jumpFrames.size(), 20u);
    // The first jump takes more than 0.2 s of active steps, each later one more than 0.1 s.
    EXPECT_GT((jumpFrames[0] - firstActive + 1) * step, 0.2f);
    EXPECT_LT((jumpFrames[0] - firstActive) * step, 0.2f);
    for (size_t i = 1; i < jumpFrames.size(); ++i) {
        EXPECT_GT((jumpFrames[i] - jumpFrames[i - 1]) * step, 0.1f) << i;
        EXPECT_LT((jumpFrames[i] - jumpFrames[i - 1] - 1) * step, 0.1f) << i;
    }
    EXPECT_LE(jumpFrames.back() * step, 6.5f);   // no jumps outside the window

    // The four draws of a jump come in the order x, width, y, height.
    JitterImage fresh(&texture);
    platform::SRand(1);
    fresh.Jitter(0.25f);
    EXPECT_EQ(fresh.xJitter, 41 % 16 - 8);
    EXPECT_EQ(fresh.widthJitter, 18467 % 32 - 16);
    EXPECT_EQ(fresh.yJitter, 6334 % 16 - 8);
    EXPECT_EQ(fresh.heightJitter, 26500 % 32 - 16);
    EXPECT_FLOAT_EQ(fresh.jitterTimer, 0.1f);
}
