// Scene two: what Load builds, the flicker windows, and frames of the whole section against
// stored pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "app/extensions.h"
#include "app/settings.h"
#include "demo/demo.h"
#include "platform/asset_path.h"
#include "platform/random.h"
#include "platform/tick.h"
#include "scenes/scene_two.h"
#include "support/gl_test_context.h"

TEST(SceneTwo, LoadBuildsTheCloudForTheDetailLevelAndTheFlickerWindows) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const std::int32_t savedDetail = settings.detailLevel;
    struct Expected {
        int detail;
        std::uint32_t lattice, cylinder, plane;
        int sphereDetail;
    };
    for (const Expected& e : {Expected{0, 2197, 1560, 2401, 16}, Expected{2, 9261, 6552, 6561, 32}}) {
        SCOPED_TRACE(e.detail);
        // The level is read at Load: the option that sets it runs after the scenes are built.
        settings.detailLevel = 2 - e.detail;
        SceneTwo scene;
        settings.detailLevel = e.detail;
        EXPECT_EQ(scene.lattice, nullptr);
        ASSERT_TRUE(scene.Load());
        EXPECT_EQ(scene.sphereDetail, e.sphereDetail);
        EXPECT_FALSE(scene.Load());   // once only: the windows are not added twice
        EXPECT_EQ(scene.flickerSchedule.starts.size(), 6u);

        EXPECT_EQ(scene.lattice->count, e.lattice);
        EXPECT_EQ(scene.cylinder->count, e.cylinder);
        EXPECT_EQ(scene.wavePlane->count, e.plane);
        EXPECT_EQ(scene.scatter->count, e.lattice);   // the lattice is always the larger
        EXPECT_EQ(scene.morphed->points.size(), e.lattice);
        EXPECT_EQ(scene.cubeIndices[0], 3);
        EXPECT_EQ(scene.cubeIndices[999 * 24 + 23], 7992 + 7);
        for (std::uint8_t texel : scene.noiseTexels) ASSERT_EQ(texel, 200);
        EXPECT_TRUE(glIsTexture(scene.textures[2]));
        GLint width = 0;
        glBindTexture(GL_TEXTURE_1D, scene.textures[2]);
        glGetTexLevelParameteriv(GL_TEXTURE_1D, 0, GL_TEXTURE_WIDTH, &width);
        EXPECT_EQ(width, 256);

        // Demo seconds; both ends of a window count, and nothing flickers between windows.
        ScheduledObject& flicker = scene.flickerSchedule;
        EXPECT_FALSE(flicker.IsActive(52.0f, 0.0f));
        EXPECT_TRUE(flicker.IsActive(52.1f, 0.0f));
        EXPECT_TRUE(flicker.IsActive(53.3f, 0.0f));
        EXPECT_FALSE(flicker.IsActive(53.31f, 0.0f));
        EXPECT_FALSE(flicker.IsActive(70.0f, 0.0f));
        EXPECT_TRUE(flicker.IsActive(80.0f, 0.0f));
        EXPECT_TRUE(flicker.IsActive(83.1f, 0.0f));
        EXPECT_FALSE(flicker.IsActive(86.5f, 0.0f));

        const GLuint noise = scene.textures[2];
        EXPECT_TRUE(glIsTexture(noise));
        EXPECT_TRUE(scene.Unload());
        EXPECT_FALSE(glIsTexture(noise));   // the noise texture Load made goes with the rest
        EXPECT_EQ(scene.lattice, nullptr);
        EXPECT_EQ(scene.cubeIndices, nullptr);
        EXPECT_EQ(scene.vertexBuffer, nullptr);
        EXPECT_FALSE(scene.Unload());
        EXPECT_FALSE(scene.Frame());   // unloaded: draws nothing
    }
    settings.detailLevel = savedDetail;
}

// The section as the demo plays it, from the loading screen on, at 10 frames per second of the
// virtual clock: the violet opening, the cylinder, its dissolve, the lattice under a flicker, the
// waving plane under a flicker, and the fade to black.
TEST(SceneTwo, MatchesReferenceFrames) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const std::string root = testing_support::TestAssetRoot();
    platform::SetAssetRoot(root);
    for (const char* name : {"TEKSTURY\\env2.bmp", "TEKSTURY\\stars2.bmp", "TEKSTURY\\stars.bmp"})
        if (platform::ResolveAssetPath(name).empty()) GTEST_SKIP() << "the generated assets are not in " << root;

    struct Capture {
        int frame;   // scene frame n is drawn at demo time 50 + n × 0.1 s
        const char* name;
    };
    const Capture captures[] = {
        {5, "scene_two_50_5s"},   {50, "scene_two_55_0s"},  {110, "scene_two_61_0s"},
        {160, "scene_two_66_0s"}, {295, "scene_two_79_5s"}, {365, "scene_two_86_5s"},
    };

    sceneTwoAnimation = SceneTwoAnimation{};   // as the program starts, whatever ran before
    platform::SRand(1);
    platform::UseVirtualClock(0);
    ResetSceneClock();
    SceneTwo scene;
    scene.SetTiming(50.0f, 87.0f, 1.0f, 1.0f);
    Demo demo;
    demo.AddScene(&scene);
    ASSERT_TRUE(demo.LoadAll());
    demo.clock = 50.0f;   // no scene before this one: start at its window

    int sceneFrame = -1;
    size_t next = 0;
    while (next < std::size(captures)) {
        ASSERT_TRUE(demo.Tick());
        ASSERT_EQ(demo.currentScene, &scene);
        ++sceneFrame;
        if (sceneFrame == captures[next].frame) {
            SCOPED_TRACE(captures[next].name);
            EXPECT_NEAR(scene.localTime, captures[next].frame * 0.1f, 0.01f);
            const std::vector<std::uint8_t> frame = testing_support::ReadFrame();
            const std::string mismatch =
                testing_support::CompareWithReference(captures[next].name, frame, 640, 480, 3.0);
            EXPECT_TRUE(mismatch.empty()) << mismatch;
            if (captures[next].frame == 50) {
                // Long after the scene's first frame the star sky still fills the background.
                std::size_t lit = 0;
                for (std::size_t i = 0; i < frame.size(); i += 3)
                    if (std::max({frame[i], frame[i + 1], frame[i + 2]}) > 4) ++lit;
                EXPECT_GT(static_cast<double>(lit) / (frame.size() / 3), 0.75) << "the sky is missing";
            }
            ++next;
        }
        if (sceneFrame == 30) {
            EXPECT_FALSE(scene.openingFade);   // gone after 2 s
        }
        platform::AdvanceVirtualClock(100);
    }
    EXPECT_TRUE(scene.closingFade);
    scene.Unload();
    scene.Stop();
    platform::UseLiveClock();
}

// The frames of the section at the given scene frames (10 per second from 50 s), played from
// the start as the demo plays it, with the cloud's cubes as outlines or as their six faces.
std::vector<std::vector<std::uint8_t>> PlaySceneTwo(bool cloudOutlines, const std::vector<int>& wanted) {
    std::vector<std::vector<std::uint8_t>> frames;
    sceneTwoAnimation = SceneTwoAnimation{};
    platform::SRand(1);
    platform::UseVirtualClock(0);
    ResetSceneClock();
    SceneTwo scene;
    scene.cloudOutlines = cloudOutlines;
    scene.SetTiming(50.0f, 87.0f, 1.0f, 1.0f);
    Demo demo;
    demo.AddScene(&scene);
    EXPECT_TRUE(demo.LoadAll());
    demo.clock = 50.0f;
    for (int frame = 0; frame <= wanted.back(); ++frame) {
        if (!demo.Tick()) break;
        if (std::find(wanted.begin(), wanted.end(), frame) != wanted.end())
            frames.push_back(testing_support::ReadFrame());
        platform::AdvanceVirtualClock(100);
    }
    scene.Unload();
    scene.Stop();
    platform::UseLiveClock();
    return frames;
}

// Each cube drawn as the outline the eye sees leaves the picture its faces make: the cylinder
// turning, the cubes flying out to the scatter (past the camera too) and back.
TEST(SceneTwo, CubeOutlinesDrawWhatTheirFacesDraw) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    platform::SetAssetRoot(testing_support::TestAssetRoot());
    if (platform::ResolveAssetPath("TEKSTURY\\stars2.bmp").empty()) GTEST_SKIP() << "no generated assets";
    const std::vector<int> wanted = {30, 110, 125, 140};
    const auto outlines = PlaySceneTwo(true, wanted);
    const auto faces = PlaySceneTwo(false, wanted);
    ASSERT_EQ(outlines.size(), wanted.size());
    ASSERT_EQ(faces.size(), wanted.size());
    for (std::size_t k = 0; k < wanted.size(); ++k) {
        SCOPED_TRACE(wanted[k]);
        std::size_t apart = 0;
        for (std::size_t i = 0; i < faces[k].size(); ++i)
            if (std::abs(faces[k][i] - outlines[k][i]) > 2) ++apart;
        // Where a cube pierces the ball, the outline's depth can decide a pixel the other way.
        EXPECT_LE(apart, faces[k].size() / 10000) << apart << " channels apart";
    }
}

// With the switch set but no entry point resolved, the scene draws with one texture unit
// instead of calling through a null pointer.
TEST(SceneTwo, MultitextureSwitchWithoutEntryPointsDrawsOnOneUnit) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const bool savedSwitch = settings.useMultitexture;
    const ext::ActiveTextureARB savedEntry = ext::glActiveTextureARB;
    settings.useMultitexture = true;
    ext::glActiveTextureARB = nullptr;
    platform::UseVirtualClock(0);
    SceneTwo scene;
    scene.SetTiming(50.0f, 87.0f, 1.0f, 1.0f);
    ASSERT_TRUE(scene.Load());
    ASSERT_TRUE(scene.Start());
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(scene.Frame());
        platform::AdvanceVirtualClock(100);
    }
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    EXPECT_EQ(unit, GL_TEXTURE0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    scene.Unload();
    scene.Stop();
    ext::glActiveTextureARB = savedEntry;
    settings.useMultitexture = savedSwitch;
    platform::UseLiveClock();
}
