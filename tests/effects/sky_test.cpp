// The sun quad that faces the camera and the cloud layers that fade out at their edges.
#include <gtest/gtest.h>

#include <vector>

#include "effects/cloud_layers.h"
#include "effects/sun.h"
#include "platform/gl.h"
#include "support/gl_test_context.h"

namespace {

// A one-texel white texture: what is drawn shows the colours and the blending alone.
GLuint WhiteTexture() {
    GLuint name = 0;
    const std::uint8_t white[3] = {255, 255, 255};
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return name;
}

// Orthographic, 20 × 20 units of eye space over the window; cleared to black.
void ClearToEyeSquare() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-10, 10, -10, 10, -30, 30);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glEnable(GL_TEXTURE_2D);
}

}  // namespace

TEST(Sky, SunFacesTheCameraWhateverTheTurnOfTheFrame) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const GLuint texture = WhiteTexture();
    ClearToEyeSquare();
    glTranslatef(1, 2, -5);
    glRotatef(37, 1, 1, 0);
    glRotatef(-110, 0, 0, 1);
    std::vector<GLfloat> feedback(64);
    glFeedbackBuffer(64, GL_2D, feedback.data());
    glRenderMode(GL_FEEDBACK);
    DrawSun(texture);
    ASSERT_EQ(glRenderMode(GL_RENDER), 2 * 8);   // two triangles
    // Window x = (eye x + 10) × 32, y = (eye y + 10) × 24: 5.5 units are 176 × 132 pixels.
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (int t = 0; t < 2; ++t)
        for (int k = 0; k < 3; ++k) {
            const float x = feedback[t * 8 + 2 + 2 * k], y = feedback[t * 8 + 3 + 2 * k];
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    EXPECT_NEAR(minX, (1 - 2.75f + 10) * 32, 0.05f);
    EXPECT_NEAR(maxX, (1 + 2.75f + 10) * 32, 0.05f);
    EXPECT_NEAR(minY, (2 - 2.75f + 10) * 24, 0.05f);
    EXPECT_NEAR(maxY, (2 + 2.75f + 10) * 24, 0.05f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    glDeleteTextures(1, &texture);
}

TEST(Sky, CloudLayersDriftWrapAndFadeOutAtTheirEdges) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const GLuint texture = WhiteTexture();

    // The drift: 0.025 a second, back into 0..1 after a whole texture width.
    cloudDrift.scroll = 0.99f;
    ClearToEyeSquare();
    DrawCloudLayers(texture, 1.0f);
    EXPECT_NEAR(cloudDrift.scroll, 0.015f, 1e-5f);
    DrawCloudLayers(texture, 2.0f);
    EXPECT_NEAR(cloudDrift.scroll, 0.065f, 1e-5f);
    GLboolean depthMask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_TRUE(depthMask);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLfloat textureMatrix[16];
    glGetFloatv(GL_TEXTURE_MATRIX, textureMatrix);
    EXPECT_EQ(textureMatrix[12], 0.0f);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    // One layer seen from above, 40 units wide in a 20-unit view: its grey middle cell covers
    // the centre (0.75 weighted by itself), and the black border makes it fade out outwards.
    ClearToEyeSquare();
    glRotatef(90, 1, 0, 0);   // the layer's plane y = 0 faces the camera
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_COLOR, GL_ONE);
    DrawCloudLayer(texture, 0, 1, 0, 1);
    glDisable(GL_BLEND);
    const std::vector<std::uint8_t> frame = testing_support::ReadFrame();
    auto red = [&](int x, int y) { return static_cast<int>(frame[(static_cast<size_t>(y) * 640 + x) * 3]); };
    EXPECT_NEAR(red(320, 240), 143, 3);   // 0.75 × 0.75 of full
    EXPECT_NEAR(red(160, 240), 143, 3);   // still inside the middle cell
    EXPECT_LT(red(10, 240), red(60, 240));
    EXPECT_LT(red(60, 240), red(320, 240));
    EXPECT_LT(red(630, 240), red(580, 240));
    EXPECT_LT(red(320, 10), red(320, 120));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDeleteTextures(1, &texture);
}
