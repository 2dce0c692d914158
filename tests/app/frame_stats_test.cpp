// The frame-rate figures: measurement windows and stalls, and the line drawn over any state.
#include <gtest/gtest.h>

#include "app/bitmap_font.h"
#include "app/frame_stats.h"
#include "platform/gl.h"
#include "support/gl_test_context.h"

TEST(FrameStats, MeasurementWindowsAndStalls) {
    FrameStats stats;
    EXPECT_EQ(stats.Text(), "0.00 FPS; Average Frame Rate : [0.00]; Min. FPS : [9999.00]");
    // Exactly 60 frames in the first second: the first opens the window, the 60th closes it.
    for (int i = 0; i < 60; ++i) stats.CountFrame(100.0f + static_cast<float>(i) / 59.0f);
    EXPECT_NEAR(stats.currentFps, 60.0f, 0.01f);
    EXPECT_NEAR(stats.Average(), 60.0f, 0.01f);
    EXPECT_NEAR(stats.minFps, 60.0f, 0.01f);
    stats.CountFrame(103.5f);   // a stall of 2.5 s closes one window with one frame
    EXPECT_NEAR(stats.currentFps, 1.0f / 2.5f, 1e-3f);
    EXPECT_NEAR(stats.minFps, 0.4f, 1e-3f);
    EXPECT_NEAR(stats.Average(), 61.0f / 3.5f, 0.01f);
    EXPECT_LE(stats.Text().size(), 79u);
}

// Weeks after boot the tick count is in the billions, where a float of seconds since boot
// steps by a quarter second; the line still counts 16 ms frames as about 62.5 a second,
// across the counter's wrap too.
TEST(FrameStats, CountsFromTheTickOfItsFirstFrame) {
    FrameStats stats;
    const std::uint32_t start = 0xFFFFFFFFu - 500u;
    for (std::uint32_t i = 0; i <= 126; ++i) stats.CountFrameAtTick(start + 16u * i);
    // Each window closes on its first frame past the second, so it holds one frame more.
    EXPECT_NEAR(stats.currentFps, 62.5f, 1.0f);
    EXPECT_NEAR(stats.Average(), 62.5f, 1.0f);
}

// The line is white whatever a scene leaves on (the island section ends its frames with the
// lights on, the sea with fog, most with a texture), and the scene's switches and colour are
// as it left them afterwards: texturing is not switched on where it was off.
TEST(FrameStats, LineIsWhiteOverAnyStateAndLeavesTheStateAsItFoundIt) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    font.Create(-16, -16, "Arial");
    GLuint dark = 0;
    glGenTextures(1, &dark);
    glBindTexture(GL_TEXTURE_2D, dark);
    const GLubyte texel[3] = {40, 40, 40};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    for (const bool texturing : {true, false}) {
        SCOPED_TRACE(texturing);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_FOG);
        texturing ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
        glColor4f(0.2f, 0.4f, 0.6f, 0.8f);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawFrameStats();
        const std::vector<std::uint8_t> frame = testing_support::ReadFrame();
        std::size_t lit = 0, white = 0;
        for (std::size_t i = 0; i + 2 < frame.size(); i += 3) {
            if (frame[i] == 0 && frame[i + 1] == 0 && frame[i + 2] == 0) continue;
            ++lit;
            if (frame[i] == 255 && frame[i + 1] == 255 && frame[i + 2] == 255) ++white;
        }
        if (lit == 0) GTEST_SKIP() << "no font to draw the line with";
        EXPECT_EQ(white, lit);   // glyphs are bitmaps: every pixel they touch is fully white
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        EXPECT_TRUE(glIsEnabled(GL_FOG));
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), texturing ? GL_TRUE : GL_FALSE);
        GLfloat colour[4] = {};
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_FLOAT_EQ(colour[1], 0.4f);
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &dark);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
