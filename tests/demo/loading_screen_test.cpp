// The loading screen: bar widths, safe drawing of odd bar pictures, and GL names reaching scenes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include "demo/demo.h"
#include "demo/texture_registry.h"
#include "platform/asset_path.h"
#include "platform/window.h"
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
                               testing_support::MakeBMP(2, 2, 24, std::vector<std::uint8_t>(16, 255)));   // rows of 8
    platform::SetAssetRoot(root);

    Demo demo;
    TwoTextureScene first, second;
    demo.AddScene(&first);
    demo.AddScene(&second);
    ASSERT_EQ(demo.registry.Count(), 2);
    demo.progress = 0;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(demo.LoadAll());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "textures: cannot read TEKSTURY\\MISSING.BMP (no such file)\n");
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

// The bar is drawn in the overlay space and the loading screen leaves the matrices as it found
// them: the projection the shell set, and the model-view matrix selected for the scenes.
TEST(LoadingScreen, LeavesTheProjectionAsItFoundItAndTheModelViewSelected) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const std::string root = testing_support::MakeTempFolder("loading-matrices");
    ::mkdir((root + "/TEKSTURY").c_str(), 0755);
    ::mkdir((root + "/DANE").c_str(), 0755);
    testing_support::WriteFile(root + "/TEKSTURY/stars.bmp",
                               testing_support::MakeBMP(2, 2, 24, std::vector<std::uint8_t>(16, 255)));
    platform::SetAssetRoot(root);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1, 1, -1, 1, 1, 100);
    GLfloat before[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, before);
    glMatrixMode(GL_MODELVIEW);

    Demo demo;
    TwoTextureScene scene;
    demo.AddScene(&scene);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(demo.LoadAll());
    testing::internal::GetCapturedStderr();
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat after[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(after[i], before[i]) << i;
    GLint depth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    scene.Unload();
    demo.ReleaseTextures();
}

// The demo has a fixed number of texture slots; names registered beyond them get no slot (and
// their destinations no name) instead of a slot past the end of the array.
TEST(LoadingScreen, NamesBeyondTheSlotsGetNoTexture) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const std::string root = testing_support::MakeTempFolder("loading-slots");
    ::mkdir((root + "/TEKSTURY").c_str(), 0755);
    ::mkdir((root + "/DANE").c_str(), 0755);
    platform::SetAssetRoot(root);
    struct ManyNames : Scene {
        std::vector<std::string> names;
        ManyNames() {
            AllocateTextures(kTextureSlots + 1);
            for (int i = 0; i <= kTextureSlots; ++i) names.push_back("TEKSTURY\\t" + std::to_string(i) + ".bmp");
        }
        void RegisterTextures(TextureRegistry& registry) override {
            for (int i = 0; i <= kTextureSlots; ++i) registry.Add(names[static_cast<std::size_t>(i)].c_str(), &textures[i]);
        }
    };
    Demo demo;
    ManyNames scene;
    demo.AddScene(&scene);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(demo.LoadAll());
    const std::string said = testing::internal::GetCapturedStderr();
    const std::string last = "TEKSTURY\\T" + std::to_string(kTextureSlots) + ".BMP";
    EXPECT_NE(said.find("textures: no slot left for " + last + "\n"), std::string::npos) << said;
    for (int i = 0; i < kTextureSlots; ++i) EXPECT_NE(scene.textures[i], 0u) << i;
    EXPECT_EQ(scene.textures[kTextureSlots], 0u);
    ASSERT_EQ(demo.scenes.size(), 1u);
    EXPECT_EQ(demo.scenes[0], &scene);
    scene.Unload();
    demo.ReleaseTextures();
}

namespace {

// Bar fillings seen at each swap of the loading screen, measured from the picture on screen.
std::vector<int> seenWidths;
const Demo* watchedDemo = nullptr;

// The rightmost column, from the bar's left edge, where the screen shows the filling's pixel
// where it differs from the frame's.
void MeasureBar() {
    const Demo& demo = *watchedDemo;
    const int row = demo.barFill.height / 2;
    std::vector<std::uint8_t> line(static_cast<std::size_t>(demo.barFrame.width) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(demo.barX, demo.barY - 45 + row, demo.barFrame.width, 1, GL_RGB, GL_UNSIGNED_BYTE, line.data());
    int width = 0;
    for (int x = 0; x < demo.barFrame.width && x < demo.barFill.width; ++x) {
        const std::uint8_t* fill = &demo.barFill.pixels[(static_cast<std::size_t>(row) * demo.barFill.width + x) * 3];
        const std::uint8_t* frame = &demo.barFrame.pixels[(static_cast<std::size_t>(row) * demo.barFrame.width + x) * 3];
        const std::uint8_t* seen = &line[static_cast<std::size_t>(x) * 3];
        const bool differs = std::abs(fill[0] - frame[0]) + std::abs(fill[1] - frame[1]) + std::abs(fill[2] - frame[2]) > 12;
        const bool isFill = std::abs(seen[0] - fill[0]) + std::abs(seen[1] - fill[1]) + std::abs(seen[2] - fill[2]) <= 6;
        if (differs && isFill) width = x + 1;
    }
    seenWidths.push_back(width);
}

}  // namespace

TEST(LoadingScreen, GeneratedBarGrowsThroughItsTenWidthsWhileTheDemoLoads) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    platform::SetAssetRoot(testing_support::TestAssetRoot());
    // 24 distinct pictures and 4 scenes: the demo's 28 units of work.
    struct NamedScene : Scene {
        std::vector<std::string> names;
        explicit NamedScene(std::vector<std::string> n) : names(std::move(n)) { AllocateTextures(12); }
        void RegisterTextures(TextureRegistry& registry) override {
            for (std::size_t i = 0; i < names.size(); ++i) registry.Add(names[i].c_str(), &textures[i]);
        }
    };
    NamedScene one({"TEKSTURY\\env.bmp", "TEKSTURY\\code.bmp", "TEKSTURY\\music.bmp", "TEKSTURY\\background.bmp",
                    "TEKSTURY\\stars.bmp", "TEKSTURY\\gray.bmp", "TEKSTURY\\tekstura01.bmp"});
    NamedScene two({"TEKSTURY\\env2.bmp", "TEKSTURY\\stars2.bmp", "TEKSTURY\\stars.bmp"});
    NamedScene three({"TEKSTURY\\kora.BMP", "TEKSTURY\\trawa.BMP", "TEKSTURY\\liscie.TGA", "TEKSTURY\\sun.BMP",
                      "TEKSTURY\\sky.BMP", "TEKSTURY\\flare2.BMP", "TEKSTURY\\flare3.BMP", "TEKSTURY\\water2.BMP",
                      "TEKSTURY\\waterenv.BMP", "TEKSTURY\\credits.BMP"});
    NamedScene four({"TEKSTURY\\jaskinia.bmp", "TEKSTURY\\ziemia.bmp", "TEKSTURY\\WODA\\caust0.bmp",
                     "TEKSTURY\\water3.bmp", "TEKSTURY\\particle.bmp"});
    Demo demo;
    for (Scene* scene : {static_cast<Scene*>(&one), static_cast<Scene*>(&two), static_cast<Scene*>(&three),
                         static_cast<Scene*>(&four)}) {
        demo.AddScene(scene);
    }
    ASSERT_EQ(demo.registry.Count(), 24);

    watchedDemo = &demo;
    seenWidths.clear();
    platform::SetBeforeSwapHook(MeasureBar);
    demo.LoadAll();
    platform::SetBeforeSwapHook(nullptr);
    ASSERT_GE(demo.barFill.width, 601);
    ASSERT_EQ(demo.barFill.width, demo.barFrame.width);

    ASSERT_EQ(seenWidths.size(), 28u);
    std::vector<int> distinct;
    for (int width : seenWidths) {
        if (distinct.empty() || distinct.back() != width) distinct.push_back(width);
    }
    const std::vector<int> expected = {41, 97, 153, 209, 265, 321, 377, 433, 489, 545};
    EXPECT_EQ(distinct, expected);
}
