// Scene one's one-pass background: what it leaves on the texture units after it.
#include <gtest/gtest.h>

#include "app/extensions.h"
#include "platform/gl.h"
#include "scene/overlay_space.h"
#include "scenes/background_layers.h"
#include "support/gl_test_context.h"

// The units above the second hold the stacked layers only while the quad is drawn: afterwards
// they are as a context starts them, so no later pass meets their combiners, tints or pictures.
TEST(BackgroundLayers, OnePassLeavesTheUpperUnitsAsAContextStartsThem) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    if (BackgroundLayersInOnePass() < 3) GTEST_SKIP() << "the driver cannot stack three layers";
    GLuint pictures[2] = {};
    glGenTextures(2, pictures);
    const GLubyte texel[3] = {200, 100, 50};
    for (GLuint picture : pictures) {
        glBindTexture(GL_TEXTURE_2D, picture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
    }
    const BackgroundLayer layers[3] = {{10.0f, 0.9f, 0.9f, 1.0f}, {20.0f, 1.0f, 0.9f, 0.7f}, {30.0f, 1.0f, 0.2f, 0.2f}};
    PushOverlaySpace();
    glEnable(GL_TEXTURE_2D);
    DrawBackgroundInOnePass(layers, 3, pictures[0], pictures[1]);
    PopOverlaySpace();

    for (int unit = 2; unit < 6; ++unit) {
        SCOPED_TRACE(unit);
        ext::glActiveTextureARB(static_cast<GLenum>(GL_TEXTURE0_ARB + unit));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        GLint value = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
        EXPECT_EQ(value, 0);
        const struct {
            GLenum name;
            GLint initial;
        } env[] = {{GL_TEXTURE_ENV_MODE, GL_MODULATE},     {GL_COMBINE_RGB_EXT, GL_MODULATE},
                   {GL_SOURCE0_RGB_EXT, GL_TEXTURE},       {GL_SOURCE1_RGB_EXT, GL_PREVIOUS_EXT},
                   {GL_SOURCE2_RGB_EXT, GL_CONSTANT_EXT},  {GL_OPERAND0_RGB_EXT, GL_SRC_COLOR},
                   {GL_OPERAND1_RGB_EXT, GL_SRC_COLOR},    {GL_OPERAND2_RGB_EXT, GL_SRC_ALPHA},
                   {GL_COMBINE_ALPHA_EXT, GL_MODULATE},    {GL_SOURCE0_ALPHA_EXT, GL_TEXTURE},
                   {GL_OPERAND0_ALPHA_EXT, GL_SRC_ALPHA}};
        for (const auto& e : env) {
            glGetTexEnviv(GL_TEXTURE_ENV, e.name, &value);
            EXPECT_EQ(value, e.initial) << std::hex << e.name;
        }
        GLfloat colour[4] = {-1, -1, -1, -1};
        glGetTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, colour);
        EXPECT_EQ(colour[0] + colour[1] + colour[2] + colour[3], 0.0f);
    }
    // The second unit is left off with the stars bound for adding, as the separate passes leave it.
    ext::glActiveTextureARB(GL_TEXTURE1_ARB);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint value = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(static_cast<GLuint>(value), pictures[1]);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &value);
    EXPECT_EQ(value, GL_TEXTURE0_ARB);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(2, pictures);
}
