// The loading screen: bar widths, safe drawing of odd bar pictures, and GL names reaching scenes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "demo/demo.h"
#include "demo/texture_registry.h"
#include "platform/asset_path.h"
#include "scene/scene.h"
#include "support/bmp_files.h"
#include "support/gl_test_context.h"

TEST(LoadingScreen, BarGrowsInFiftySixPixelStepsAndNeverReachesFullOverTwentyEightUnits) {
    const float step = 100.0f / 28.0f;
    float progress = 0.0f;
    std::vector<int> widths;
    for (int unit = 0; unit < 28; ++unit) {
        progress += step;
        widths.push_back(ProgressBarWidth(progress));
    }
    const std::vector<int> expected = {41, 41, 97, 97, 97, 153, 153, 153, 209, 209, 209, 265, 265, 321,
                                       321, 321, 377, 377, 377, 433, 433, 433, 489, 489, 489, 545, 545, 545};
    EXPECT_EQ(widths, expected);
    EXPECT_LT(progress, 100.0f);
    EXPECT_EQ(ProgressBarWidth(100.0f), 601);
    EXPECT_EQ(ProgressBarWidth(250.0f), 601);
    EXPECT_EQ(ProgressBarWidth(0.0f), 41);
}

namespace {

class TwoTextureScene : public Scene {
public:
    TwoTextureScene() { AllocateTextures(2); }
    void RegisterTextures(TextureRegistry& registry) override {
        registry.Add("TEKSTURY\\stars.bmp", &textures[0]);
        registry.Add("TEKSTURY\\missing.bmp", &textures[1]);
    }
    bool Load() override {
        if (!Scene::Load()) return false;
        seenAtLoad = textures[0];
        return true;
    }
    GLuint seenAtLoad = 0;
};

}  // namespace

TEST(LoadingScreen, DeliversNamesToEveryDestinationAndDrawsNarrowBarsSafely) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const std::string root = testing_support::MakeTempFolder("loading");
    ::mkdir((root + "/TEKSTURY").c_str(), 0755);
    ::mkdir((root + "/DANE").c_str(), 0755);
    // A frame of 8 pixels and a filling of 4: far narrower than the 601 pixels the bar can reach.
    testing_support::WriteFile(root + "/TEKSTURY/PASEK1.bmp",
                               testing_support::MakeBMP(8, 2, 24, std::vector<std::uint8_t>(48, 200)));
    testing_support::WriteFile(root + "/TEKSTURY/pasek2.BMP",
                               testing_support::MakeBMP(4, 2, 24, std::vector<std::uint8_t>(24, 90)));
    testing_support::WriteFile(root + "/TEKSTURY/Stars.bmp",
                               testing_support::MakeBMP(2, 2, 24, std::vector<std::uint8_t>(12, 255)));
    platform::SetAssetRoot(root);

    Demo demo;
    TwoTextureScene first, second;
    demo.AddScene(&first);
    demo.AddScene(&second);
    ASSERT_EQ(demo.registry.Count(), 2);
    demo.progress = 0;
    EXPECT_TRUE(demo.LoadAll());
    EXPECT_EQ(demo.barX, 316);
    EXPECT_NE(first.textures[0], 0u);
    EXPECT_EQ(first.textures[0], second.textures[0]);
    EXPECT_EQ(first.seenAtLoad, first.textures[0]);   // names arrive before the scenes load
    EXPECT_NE(first.textures[1], 0u);                 // a missing file still gets its GL name
    EXPECT_TRUE(first.loaded && second.loaded);
    EXPECT_NEAR(demo.progress, 100.0f, 0.01f);

    demo.progress = 100.0f;   // widest bar: 601 pixels asked of a 4-pixel filling
    demo.DrawProgress();
    glReadBuffer(GL_FRONT);
    std::vector<std::uint8_t> pixel(3);
    glReadPixels(320, 56, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel.data());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
