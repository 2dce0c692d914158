// The lens flare: the fade of its visibility with the depth under the sun, the freeze off
// screen, the pixel read at the window's edge, the ray noise and the ray rings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "effects/lens_flare.h"
#include "platform/gl.h"
#include "platform/random.h"
#include "support/gl_test_context.h"

namespace {

// A 1D noise texture and a plain white 2D texture standing in for the ring and glow pictures.
struct FlareFixture {
    LensFlareTextures textures{};
    RayNoiseTexels texels = {};

    FlareFixture() {
        glGenTextures(1, &textures.rayNoise);
        glBindTexture(GL_TEXTURE_1D, textures.rayNoise);
        glTexImage1D(GL_TEXTURE_1D, 0, 1, 256, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, texels);
        glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        const std::uint8_t white[4 * 4 * 3] = {255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                               255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                               255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                               255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255};
        glGenTextures(1, &textures.ring);
        glBindTexture(GL_TEXTURE_2D, textures.ring);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, white);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        textures.glow = textures.ring;
        lensFlare = LensFlareState{};
    }
    ~FlareFixture() {
        glDeleteTextures(1, &textures.rayNoise);
        glDeleteTextures(1, &textures.ring);
    }
};

// A perspective camera looking down -z, black and cleared; the sun sits `z` in front of it at
// (x, y) of the eye frame.
void ClearAndPlaceSun(float x, float y, float z) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 640.0 / 480.0, 1.0, 256.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glTranslatef(x, y, z);
}

// A black square nearer than the sun, over the screen centre: it writes depth, adds no light.
void CoverScreenCentre() {
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glColor3f(0, 0, 0);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex3f(-1, -1, -5);
    glVertex3f(-1, 1, -5);
    glVertex3f(1, -1, -5);
    glVertex3f(1, 1, -5);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    glPopMatrix();
}

int BrightestChannel() {
    const std::vector<std::uint8_t> frame = testing_support::ReadFrame();
    return *std::max_element(frame.begin(), frame.end());
}

}  // namespace

TEST(LensFlare, FadesInAndOutOverAQuarterSecondAndFreezesOffScreen) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    FlareFixture fixture;
    GLint projectionDepth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projectionDepth);

    // Nothing over the sun: 0.2 more per 50 ms frame, full after five.
    for (int frame = 1; frame <= 6; ++frame) {
        ClearAndPlaceSun(0, 0, -10);
        glPushMatrix();
        DrawLensFlare(fixture.textures, fixture.texels, 0.05f);
        glPopMatrix();
        EXPECT_NEAR(lensFlare.sunVisibility, std::min(0.2f * frame, 1.0f), 1e-5f) << frame;
    }
    EXPECT_GT(BrightestChannel(), 200);   // the glow and the rays were drawn
    GLint depth = 0, mode = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(depth, projectionDepth);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_1D));

    // Something over the centre of the sun: down by 0.2 a frame, and nothing drawn at 0 (the
    // chain is drawn at full strength for any visibility above 0, so one frame more makes sure).
    for (int frame = 1; frame <= 6; ++frame) {
        ClearAndPlaceSun(0, 0, -10);
        CoverScreenCentre();
        glPushMatrix();
        DrawLensFlare(fixture.textures, fixture.texels, 0.05f);
        glPopMatrix();
        EXPECT_NEAR(lensFlare.sunVisibility, std::max(1.0f - 0.2f * frame, 0.0f), 1e-5f) << frame;
    }
    EXPECT_EQ(lensFlare.sunVisibility, 0.0f);
    EXPECT_EQ(BrightestChannel(), 0);

    // Off to the side, and behind the camera: the visibility stays, nothing is drawn.
    lensFlare.sunVisibility = 0.6f;
    for (const float x : {40.0f, -40.0f}) {
        ClearAndPlaceSun(x, 0, -10);
        glPushMatrix();
        DrawLensFlare(fixture.textures, fixture.texels, 0.05f);
        glPopMatrix();
        EXPECT_FLOAT_EQ(lensFlare.sunVisibility, 0.6f);
        EXPECT_EQ(BrightestChannel(), 0);
    }
    ClearAndPlaceSun(0, 0, 10);
    glPushMatrix();
    DrawLensFlare(fixture.textures, fixture.texels, 0.05f);
    glPopMatrix();
    EXPECT_FLOAT_EQ(lensFlare.sunVisibility, 0.6f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(LensFlare, FindsTheSunAndReadsTheDepthInsideTheWindow) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    ClearAndPlaceSun(0, 0, -10);
    float x = 0, y = 0;
    ASSERT_TRUE(FindSunOnScreen(x, y));
    EXPECT_NEAR(x, 320.0f, 0.01f);
    EXPECT_NEAR(y, 240.0f, 0.01f);
    EXPECT_FLOAT_EQ(ReadDepthUnderSun(320, 240), 1.0f);
    CoverScreenCentre();
    EXPECT_LT(ReadDepthUnderSun(320, 240), 1.0f);

    // A sun on the right and top edges of the view volume lands one pixel outside the window;
    // the read takes the last pixel instead of whatever lies beyond.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_DEPTH_BUFFER_BIT);
    glBegin(GL_TRIANGLE_STRIP);   // writes depth 0.5 over the top-right corner only
    glVertex3f(0.9f, 0.9f, 0.0f);
    glVertex3f(0.9f, 1.0f, 0.0f);
    glVertex3f(1.0f, 0.9f, 0.0f);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glEnd();
    glTranslatef(1.0f, 1.0f, 0.0f);
    ASSERT_TRUE(FindSunOnScreen(x, y));
    EXPECT_NEAR(x, 640.0f, 0.01f);
    EXPECT_NEAR(y, 480.0f, 0.01f);
    EXPECT_NEAR(ReadDepthUnderSun(static_cast<int>(x), static_cast<int>(y)), 0.5f, 0.01f);
    EXPECT_FLOAT_EQ(ReadDepthUnderSun(0, 0), 1.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// GL's own answer for the current origin: one point in feedback mode.
static bool FeedbackSunPosition(float& x, float& y) {
    GLfloat feedback[32];
    glFeedbackBuffer(32, GL_2D, feedback);
    glRenderMode(GL_FEEDBACK);
    glBegin(GL_POINTS);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glEnd();
    const GLint written = glRenderMode(GL_RENDER);
    if (written < 3 || static_cast<GLenum>(feedback[0]) != GL_POINT_TOKEN) return false;
    x = feedback[1];
    y = feedback[2];
    return true;
}

// The sun is found on the CPU; over many poses, near the edges of the view volume and behind
// the eye, in two viewports, the answer must be feedback mode's.
TEST(LensFlare, FindsTheSunWhereFeedbackModeDoes) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    platform::SRand(7);
    auto unit = [] { return static_cast<float>(platform::Rand()) / 32767.0f; };
    int seen = 0, clipped = 0;
    const GLint viewports[2][4] = {{0, 0, 640, 480}, {37, 11, 533, 400}};
    for (const GLint* viewport : viewports) {
        glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
        for (int pose = 0; pose < 400; ++pose) {
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            gluPerspective(30.0 + 40.0 * unit(), 640.0 / 480.0, 0.5 + unit(), 64.0 + 200.0 * unit());
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            glRotatef(360.0f * unit(), unit() - 0.5f, unit() - 0.5f, unit() - 0.5f);
            glTranslatef(60.0f * (unit() - 0.5f), 60.0f * (unit() - 0.5f), 120.0f * (unit() - 0.7f));
            float cpuX = -1, cpuY = -1, glX = -1, glY = -1;
            const bool cpu = FindSunOnScreen(cpuX, cpuY);
            const bool fed = FeedbackSunPosition(glX, glY);
            ASSERT_EQ(cpu, fed) << "pose " << pose;
            if (!fed) {
                ++clipped;
                continue;
            }
            ++seen;
            EXPECT_NEAR(cpuX, glX, 1e-3f) << "pose " << pose;
            EXPECT_NEAR(cpuY, glY, 1e-3f) << "pose " << pose;
        }
    }
    glViewport(0, 0, 640, 480);
    EXPECT_GT(seen, 50);
    EXPECT_GT(clipped, 50);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(LensFlare, RayNoiseIsFilledFirstThenBlendedTowardsNewTargets) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    FlareFixture fixture;
    glBindTexture(GL_TEXTURE_1D, fixture.textures.rayNoise);

    // The first call fills both arrays, value by value in turn, and shows the first one.
    platform::SRand(77);
    std::vector<int> expectedPrevious, expectedNext;
    for (int i = 0; i < 256; ++i) {
        expectedPrevious.push_back(platform::Rand() % 64);
        expectedNext.push_back(platform::Rand() % 64);
    }
    platform::SRand(77);
    UpdateRayNoise(fixture.texels, 0.0f);
    EXPECT_FALSE(lensFlare.firstNoise);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(fixture.texels[i], expectedPrevious[i]) << i;
        ASSERT_EQ(lensFlare.nextNoise[i], static_cast<float>(expectedNext[i])) << i;
    }
    std::uint8_t uploaded[256] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_1D, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, uploaded);
    EXPECT_TRUE(std::equal(std::begin(uploaded), std::end(uploaded), std::begin(fixture.texels)));

    // A third of a second later the texels are half way, truncated towards the first values.
    UpdateRayNoise(fixture.texels, 1.0f / 3.0f);
    for (int i = 0; i < 256; ++i) {
        const int halfWay = expectedPrevious[i] + static_cast<int>((expectedNext[i] - expectedPrevious[i]) * lensFlare.noiseBlend);
        ASSERT_EQ(fixture.texels[i], halfWay) << i;
    }
    EXPECT_NEAR(lensFlare.noiseBlend, 0.5f, 1e-6f);

    // Past the target, the target becomes the start and new targets are drawn below 64.
    UpdateRayNoise(fixture.texels, 0.4f);
    EXPECT_EQ(lensFlare.noiseBlend, 0.0f);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(fixture.texels[i], expectedNext[i]) << i;
        ASSERT_LT(lensFlare.nextNoise[i], 64.0f);
        ASSERT_EQ(lensFlare.nextNoise[i], std::floor(lensFlare.nextNoise[i]));
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(LensFlare, RayRingRunsOnceAroundAndClosesWhereItBegan) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_1D);
    std::vector<GLfloat> feedback(72 * 23);
    glFeedbackBuffer(static_cast<GLsizei>(feedback.size()), GL_3D_COLOR, feedback.data());
    glRenderMode(GL_FEEDBACK);
    DrawRayFan(320, 240, 200, 1, 1.57f);
    const GLint written = glRenderMode(GL_RENDER);
    // 74 strip vertices make 72 triangles: token, count, then 3 × (x, y, z, r, g, b, a).
    ASSERT_EQ(written, 72 * 23);
    struct Corner {
        float x, y, r, g, b;
    };
    auto corner = [&](int triangle, int k) {
        const GLfloat* v = &feedback[triangle * 23 + 2 + k * 7];
        return Corner{v[0], v[1], v[3], v[4], v[5]};
    };
    const Corner firstOuter = corner(0, 0), firstInner = corner(0, 1);
    EXPECT_NEAR(firstOuter.x, 320 + 200 * std::cos(1.57f), 0.01f);
    EXPECT_NEAR(firstOuter.y, 440.0f, 0.01f);
    EXPECT_EQ(firstOuter.r + firstOuter.g + firstOuter.b, 0.0f);
    EXPECT_NEAR(firstInner.y, 241.0f, 0.01f);
    EXPECT_EQ(firstInner.r + firstInner.g + firstInner.b, 3.0f);
    // The last triangle ends on the closing pair: black outside, yellow inside, at the start angle.
    const Corner lastOuter = corner(71, 0), lastInner = corner(71, 2);   // odd triangle: (72, 71, 73)
    EXPECT_NEAR(lastOuter.x, firstOuter.x, 0.01f);
    EXPECT_NEAR(lastOuter.y, firstOuter.y, 0.01f);
    EXPECT_NEAR(lastInner.y, 241.0f, 0.01f);
    EXPECT_EQ(lastInner.r + lastInner.g, 2.0f);
    EXPECT_EQ(lastInner.b, 0.0f);
    glEnable(GL_TEXTURE_2D);
}
