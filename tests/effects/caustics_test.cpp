// The caustic animation: one picture per call whatever the frame time, the order of the
// pictures, and pictures that are missing or would not fit the texture.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "effects/caustics.h"
#include "platform/asset_path.h"
#include "support/bmp_files.h"
#include "support/gl_test_context.h"

namespace {

// A picture of one flat colour whose red channel names its frame.
Image Flat(int frame, int size = 2) {
    Image image;
    image.width = image.height = size;
    image.bitsPerPixel = 24;
    for (int i = 0; i < size * size; ++i) {
        image.pixels.push_back(static_cast<std::uint8_t>(frame * 7));
        image.pixels.push_back(100);
        image.pixels.push_back(200);
    }
    return image;
}

GLuint MakeTexture(int size) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const std::vector<std::uint8_t> black(static_cast<std::size_t>(size) * size * 3, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, black.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return texture;
}

// Red of the bound texture's first texel.
int FirstRed() {
    std::vector<std::uint8_t> texels(64 * 64 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    return texels[0];
}

int CountOccurrences(const std::string& text, const std::string& word) {
    int count = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++count;
    return count;
}

}  // namespace

TEST(Caustics, OnePicturePerElapsedIntervalInOrderAndWrapping) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    Image frames[kCausticFrameCount];
    for (int k = 0; k < kCausticFrameCount; ++k) frames[k] = Flat(k);
    const GLuint texture = MakeTexture(2);

    // Far more than one interval in one frame still moves on by exactly one picture.
    for (int call = 0; call < 40; ++call) {
        const int before = CausticFrameIndex();
        AdvanceCaustics(0.5f, frames);
        const int expected = (before + 1) % kCausticFrameCount;
        ASSERT_EQ(CausticFrameIndex(), expected);
        ASSERT_EQ(FirstRed(), expected * 7) << "the picture uploaded is the new index's";
    }
    // Frames shorter than the interval: the timer restarts at 0.025 s, the overshoot is dropped.
    int before = CausticFrameIndex();
    AdvanceCaustics(0.01f, frames);
    AdvanceCaustics(0.01f, frames);
    EXPECT_EQ(CausticFrameIndex(), before);
    AdvanceCaustics(0.01f, frames);
    EXPECT_EQ(CausticFrameIndex(), (before + 1) % kCausticFrameCount);
    AdvanceCaustics(0.02f, frames);
    EXPECT_EQ(CausticFrameIndex(), (before + 1) % kCausticFrameCount) << "the 0.005 s overshoot is not carried";
    AdvanceCaustics(0.0f, frames);
    EXPECT_EQ(CausticFrameIndex(), (before + 1) % kCausticFrameCount);

    // An empty picture is stepped over: the index moves, the texture keeps its texels.
    before = CausticFrameIndex();
    const int next = (before + 1) % kCausticFrameCount;
    frames[next] = Image();
    const int shown = FirstRed();
    AdvanceCaustics(1.0f, frames);
    EXPECT_EQ(CausticFrameIndex(), next);
    EXPECT_EQ(FirstRed(), shown);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDeleteTextures(1, &texture);
}

TEST(Caustics, PicturesThatAreMissingOrDoNotFitTheTextureAreRefusedOnce) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const std::string root = testing_support::MakeTempFolder("caustics");
    ::mkdir((root + "/TEKSTURY").c_str(), 0755);
    ::mkdir((root + "/TEKSTURY/WODA").c_str(), 0755);
    for (int k = 0; k < kCausticFrameCount; ++k) {
        if (k == 7) continue;   // missing
        const int size = k == 5 ? 8 : 4;   // Caust5 is larger than the texture
        const int bits = k == 9 ? 32 : 24;
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size) * size * bits / 8, static_cast<std::uint8_t>(k));
        testing_support::WriteFile(root + "/TEKSTURY/WODA/Caust" + std::to_string(k) + ".BMP",
                                   testing_support::MakeBMP(size, size, bits, pixels));
    }
    platform::SetAssetRoot(root);
    const GLuint texture = MakeTexture(4);
    Image frames[kCausticFrameCount];
    testing::internal::CaptureStderr();
    LoadCausticFrames(frames, texture);
    const std::string errors = testing::internal::GetCapturedStderr();
    for (int k = 0; k < kCausticFrameCount; ++k) {
        SCOPED_TRACE(k);
        const bool bad = k == 5 || k == 7 || k == 9;
        EXPECT_EQ(frames[k].IsEmpty(), bad);
        if (!bad) {
            EXPECT_EQ(frames[k].width, 4);
        }
    }
    EXPECT_EQ(CountOccurrences(errors, "Caust5.BMP"), 1) << errors;
    EXPECT_EQ(CountOccurrences(errors, "Caust7.BMP"), 1) << errors;
    EXPECT_EQ(CountOccurrences(errors, "Caust9.BMP"), 1) << errors;
    EXPECT_EQ(CountOccurrences(errors, "\n"), 3) << errors;

    // A whole loop over the gaps makes no GL error.
    glBindTexture(GL_TEXTURE_2D, texture);
    while (glGetError() != GL_NO_ERROR) {
    }
    for (int k = 0; k < 2 * kCausticFrameCount; ++k) AdvanceCaustics(1.0f, frames);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // With no texture to measure against, nothing is uploaded at all.
    Image none[kCausticFrameCount];
    testing::internal::CaptureStderr();
    LoadCausticFrames(none, 0);
    testing::internal::GetCapturedStderr();
    for (const Image& frame : none) EXPECT_TRUE(frame.IsEmpty());
    glDeleteTextures(1, &texture);
}
