// Texture names and uploads, in a real GL context.
#include <gtest/gtest.h>

#include "image/texture.h"
#include "support/gl_test_context.h"

TEST(Texture, NameIsMadeOnceAndKeptByUnbind) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    Texture2D texture;
    EXPECT_FALSE(texture.created);
    texture.Bind();
    const GLuint name = texture.name;
    EXPECT_TRUE(texture.created);
    EXPECT_TRUE(glIsTexture(name));
    texture.Bind();
    EXPECT_EQ(texture.name, name);
    texture.Unbind();
    EXPECT_TRUE(texture.created);
    EXPECT_EQ(texture.name, name);
}

TEST(Texture, UploadFormatsAndFilters) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    Image gray;
    gray.width = 4;
    gray.height = 4;
    gray.bitsPerPixel = 8;
    gray.pixels.assign(16, 128);
    Texture2D texture;
    texture.Bind();
    TextureParams plain;
    plain.mipmaps = false;
    plain.filter = GL_LINEAR;
    ASSERT_TRUE(UploadTexture(GL_TEXTURE_2D, gray, plain));
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_LUMINANCE_SIZE, &value);
    EXPECT_GT(value, 0);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 0);   // no mipmaps: level 0 only

    Image rgb;
    rgb.width = 8;
    rgb.height = 8;
    rgb.bitsPerPixel = 24;
    rgb.pixels.assign(8 * 8 * 3, 50);
    ASSERT_TRUE(UploadTexture(GL_TEXTURE_2D, rgb, TextureParams{}));
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 1);   // full chain
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR_MIPMAP_LINEAR);

    Image odd = rgb;
    odd.bitsPerPixel = 16;
    EXPECT_FALSE(UploadTexture(GL_TEXTURE_2D, odd, TextureParams{}));
    EXPECT_FALSE(UploadTexture(GL_TEXTURE_2D, Image{}, TextureParams{}));
    texture.Unbind();
}
