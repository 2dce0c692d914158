// The picture at twice its size: drawn off screen and shown scaled, a scene frame that matches
// the 1× one, the loading bar's pixel rectangles, the flare's window coordinates and depth
// read, and screenshots.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/bitmap_font.h"
#include "app/frame_stats.h"
#include "capture/screenshot.h"
#include "demo/demo.h"
#include "effects/lens_flare.h"
#include "platform/asset_path.h"
#include "platform/gl.h"
#include "platform/letterbox.h"
#include "platform/picture_target.h"
#include "platform/random.h"
#include "platform/tick.h"
#include "platform/window.h"
#include "scenes/scene_one.h"
#include "support/bmp_files.h"
#include "support/gl_test_context.h"

namespace {

// Switches the test window's picture to `scale` and back to the 1× picture at the end, with
// the GL state the test found (later tests in the same process rely on it).
struct PictureScale {
    explicit PictureScale(int scale, int samples = 0) {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        std::string note;
        configured = platform::ConfigurePicture(scale, samples, 640, 480, note);
        if (!note.empty()) std::fprintf(stderr, "%s\n", note.c_str());
    }
    ~PictureScale() {
        std::string note;
        platform::ConfigurePicture(1, 0, 640, 480, note);
        glPopAttrib();
    }
    bool configured = false;
};

// Keeps the projection and model-view matrices the test found; the model-view stays selected.
struct MatrixKeeper {
    MatrixKeeper() {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
    }
    ~MatrixKeeper() {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
    }
};

// Each 2 × 2 block averaged.
std::vector<std::uint8_t> Halve(const std::vector<std::uint8_t>& rgb, int width, int height) {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(width / 2) * (height / 2) * 3);
    for (int y = 0; y < height / 2; ++y)
        for (int x = 0; x < width / 2; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        sum += rgb[(static_cast<std::size_t>(2 * y + dy) * width + 2 * x + dx) * 3 + c];
                out[(static_cast<std::size_t>(y) * (width / 2) + x) * 3 + c] = static_cast<std::uint8_t>(sum / 4);
            }
    return out;
}

void OverlayProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace

TEST(PictureScale, DrawsOffScreenAndShowsThePictureInTheWindow) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    {
        PictureScale same(1);
        EXPECT_FALSE(platform::PictureOffscreen()) << "a 640 x 480 window takes the 1x picture directly";
    }
    PictureScale twice(2);
    ASSERT_TRUE(twice.configured);
    ASSERT_TRUE(platform::PictureOffscreen());
    MatrixKeeper matrices;
    EXPECT_EQ(platform::PictureWidth(), 1280);
    EXPECT_EQ(platform::PictureHeight(), 960);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1280);
    EXPECT_EQ(viewport[3], 960);

    // Left half red, right half blue, in overlay units.
    OverlayProjection();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_QUADS);
    glColor3f(1, 0, 0);
    glVertex2f(0, 0), glVertex2f(320, 0), glVertex2f(320, 480), glVertex2f(0, 480);
    glColor3f(0, 0, 1);
    glVertex2f(320, 0), glVertex2f(640, 0), glVertex2f(640, 480), glVertex2f(320, 480);
    glEnd();
    glColor3f(1, 1, 1);
    const std::vector<std::uint8_t> picture = ReadPicture();
    auto at = [&](const std::vector<std::uint8_t>& rgb, int width, int x, int y) {
        return &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    };
    EXPECT_EQ(at(picture, 1280, 639, 500)[0], 255);
    EXPECT_EQ(at(picture, 1280, 640, 500)[2], 255);

    // Presented into the 640 x 480 window: the same picture at half the size.
    platform::PresentPicture(640, 480);
    std::vector<std::uint8_t> shown(640 * 480 * 3);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, shown.data());
    EXPECT_GT(at(shown, 640, 100, 240)[0], 250);
    EXPECT_LT(at(shown, 640, 100, 240)[2], 5);
    EXPECT_GT(at(shown, 640, 500, 240)[2], 250);
    platform::PrepareFrame(640, 480);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(PictureScale, SceneFrameAtTwiceTheSizeMatchesTheOneTimesPicture) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const std::string root = testing_support::TestAssetRoot();
    platform::SetAssetRoot(root);
    if (platform::ResolveAssetPath("DANE\\data.dat").empty()) GTEST_SKIP() << "the generated assets are not in " << root;
    PictureScale twice(2);
    ASSERT_TRUE(platform::PictureOffscreen());
    MatrixKeeper matrices;

    // Scene one keeps no state of its own between runs, so this frame is the one its reference
    // test sees: scene frame 125, 5.00 s into the scene.
    platform::SRand(1);
    platform::UseVirtualClock(0);
    ResetSceneClock();
    SceneOne scene;
    scene.SetTiming(0.2f, 50.0f, 0.0f, 0.5f);
    Demo demo;
    demo.AddScene(&scene);
    ASSERT_TRUE(demo.LoadAll());
    glScissor(0, 0, 1, 1);   // frames before the one compared only advance the scene
    int sceneFrame = -1;
    while (sceneFrame < 125) {
        if (sceneFrame + 1 == 125) glDisable(GL_SCISSOR_TEST);
        else glEnable(GL_SCISSOR_TEST);
        ASSERT_TRUE(demo.Tick());
        if (demo.currentScene == &scene) ++sceneFrame;
        if (sceneFrame < 125) platform::AdvanceVirtualClock(40);
    }
    glDisable(GL_SCISSOR_TEST);
    const std::vector<std::uint8_t> picture = ReadPicture();
    const std::vector<std::uint8_t> small = Halve(picture, 1280, 960);
    // The stored 1x picture of the same frame; the sharper picture differs only at edges.
    const std::string mismatch = testing_support::CompareWithReference("scene_one_05_00s", small, 640, 480, 6.0);
    EXPECT_TRUE(mismatch.empty()) << mismatch;
    scene.Unload();
    scene.Stop();
    platform::UseLiveClock();
}

TEST(PictureScale, LoadingBarIsTwiceAsLargeAtTwiceTheSize) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    PictureScale twice(2);
    ASSERT_TRUE(platform::PictureOffscreen());
    MatrixKeeper matrices;
    OverlayProjection();
    // Pixel rectangles go through the fragment stages: as at start-up, nothing else is on.
    for (GLenum cap : {GL_DEPTH_TEST, GL_TEXTURE_2D, GL_BLEND, GL_FOG, GL_LIGHTING, GL_CULL_FACE, GL_ALPHA_TEST})
        glDisable(cap);
    Demo demo;
    // A red frame and a green filling, both 620 pixels wide.
    for (Image* image : {&demo.barFrame, &demo.barFill}) {
        image->width = 620;
        image->height = 4;
        image->bitsPerPixel = 24;
        image->pixels.assign(620 * 4 * 3, 0);
        for (std::size_t i = 0; i < image->pixels.size(); i += 3) image->pixels[i + (image == &demo.barFrame ? 0 : 1)] = 255;
    }
    demo.barX = 320 - 620 / 2;
    demo.barY = 100;
    for (float progress : {25.0f, 100.0f}) {
        SCOPED_TRACE(progress);
        demo.progress = progress;
        demo.DrawProgress();
        const std::vector<std::uint8_t> picture = ReadPicture();
        // Row 3 of the picture lies at overlay 55 + 1.5, window 2 × 56.5.
        const std::size_t row = static_cast<std::size_t>(2 * 56 + 1) * 1280;
        int green = 0, red = 0, firstLit = -1;
        for (int x = 0; x < 1280; ++x) {
            const std::uint8_t* p = &picture[(row + x) * 3];
            if (p[1] == 255 && p[0] == 0) ++green;
            if (p[0] == 255 && p[1] == 0) ++red;
            if ((p[0] || p[1]) && firstLit < 0) firstLit = x;
        }
        EXPECT_EQ(firstLit, 2 * demo.barX);
        EXPECT_EQ(green, 2 * ProgressBarWidth(progress));
        EXPECT_EQ(green + red, 2 * 620);
        // The bar is 4 rows high at 1x, 8 at 2x: rows 110..117.
        for (int y : {109, 110, 117, 118}) {
            const std::uint8_t* p = &picture[(static_cast<std::size_t>(y) * 1280 + 2 * demo.barX) * 3];
            EXPECT_EQ(p[1], y >= 110 && y <= 117 ? 255 : 0) << "row " << y;
        }
    }
    GLfloat zoom = 0;
    glGetFloatv(GL_ZOOM_X, &zoom);
    EXPECT_EQ(zoom, 1.0f);
}

TEST(PictureScale, FlareFindsTheSunAtTwiceItsWindowPositionAndReadsItsDepthThere) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    MatrixKeeper matrices;
    auto aim = [] {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, 640.0 / 480.0, 1.0, 512.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(-3.0f, 2.0f, -20.0f);
    };
    aim();
    float x1 = 0, y1 = 0;
    ASSERT_TRUE(FindSunOnScreen(x1, y1));
    PictureScale twice(2, 4);
    ASSERT_TRUE(platform::PictureOffscreen());
    aim();
    float x2 = 0, y2 = 0;
    ASSERT_TRUE(FindSunOnScreen(x2, y2));
    EXPECT_NEAR(x2, 2 * x1, 1e-3);
    EXPECT_NEAR(y2, 2 * y1, 1e-3);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    float ox = x2, oy = y2;
    platform::WindowToOverlay(platform::PixelRect{viewport[0], viewport[1], viewport[2], viewport[3]}, ox, oy);
    EXPECT_NEAR(ox, x1, 1e-3);
    EXPECT_NEAR(oy, y1, 1e-3);

    // Something drawn over the sun at 2x is seen by the depth read there (also multisampled).
    glClear(GL_DEPTH_BUFFER_BIT);
    EXPECT_EQ(ReadDepthUnderSun(static_cast<int>(x2), static_cast<int>(y2)), 1.0f);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glVertex3f(-0.5f, -0.5f, 1.0f), glVertex3f(0.5f, -0.5f, 1.0f), glVertex3f(0.5f, 0.5f, 1.0f), glVertex3f(-0.5f, 0.5f, 1.0f);
    glEnd();
    EXPECT_LT(ReadDepthUnderSun(static_cast<int>(x2), static_cast<int>(y2)), 1.0f);
    // The 1x position is far from the sun at 2x, and nothing is drawn there.
    EXPECT_EQ(ReadDepthUnderSun(static_cast<int>(x1), static_cast<int>(y1)), 1.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(PictureScale, ScreenshotIsThePictureAtItsOwnSizeUnderTheNextFreeName) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const std::string folder = testing_support::MakeTempFolder("shots");
    EXPECT_EQ(NextScreenshotName(folder), folder + "/undertow-0000.png");
    testing_support::WriteFile(folder + "/undertow-0000.png", {1});
    testing_support::WriteFile(folder + "/undertow-0002.png", {1});
    EXPECT_EQ(NextScreenshotName(folder), folder + "/undertow-0001.png");

    PictureScale twice(2);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    const std::string path = NextScreenshotName(folder);
    std::string error;
    ASSERT_TRUE(WriteScreenshot(path, error)) << error;
    std::ifstream in(path, std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    auto big = [&](std::size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(big(16), 1280u);   // IHDR width and height
    EXPECT_EQ(big(20), 960u);
    EXPECT_FALSE(WriteScreenshot(folder + "/no/such/folder/shot.png", error));
    EXPECT_NE(error.find("shot.png"), std::string::npos) << error;
}

namespace {

// The box around the white pixels of the picture: x, y, width, height (all 0 when none).
std::vector<int> WhiteBox() {
    const int width = platform::PictureWidth(), height = platform::PictureHeight();
    const std::vector<std::uint8_t> rgb = ReadPicture();
    int x0 = width, y0 = height, x1 = -1, y1 = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            if (p[0] > 200 && p[1] > 200 && p[2] > 200) {
                x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
            }
        }
    if (x1 < 0) return {0, 0, 0, 0};
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

std::vector<int> StatsLineBox(int scale) {
    PictureScale picture(scale);
    MatrixKeeper matrices;
    font.Create(-16 * scale, -16, "Arial");
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    DrawFrameStats();
    return WhiteBox();
}

}  // namespace

TEST(PictureScale, FrameStatisticsLineGrowsWithThePicture) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const std::vector<int> one = StatsLineBox(1);
    if (one[2] == 0) GTEST_SKIP() << "no font to draw the line with";
    const std::vector<int> two = StatsLineBox(2);
    font.Create(-16, -16, "Arial");
    // Same place in the picture, twice the size (glyphs drawn at 32 pixels round a little
    // differently from twice the 16-pixel ones).
    EXPECT_NEAR(two[0], 2 * one[0], 2);
    EXPECT_NEAR(two[1], 2 * one[1], 3);
    EXPECT_NEAR(two[2], 2 * one[2], one[2] * 0.1);
    EXPECT_NEAR(two[3], 2 * one[3], 3);
}
