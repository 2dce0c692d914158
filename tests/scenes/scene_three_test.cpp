// Scene three: what Load makes of its files, hostile island files, the order of the sections
// with their flashes and veil, and frames of the whole section against stored pictures.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "demo/demo.h"
#include "effects/cloud_layers.h"
#include "platform/asset_path.h"
#include "platform/random.h"
#include "platform/tick.h"
#include "scenes/scene_three.h"
#include "support/bmp_files.h"
#include "support/gl_test_context.h"

namespace {

std::string MeshBytes(std::int32_t triangles, std::int32_t vertexCount, const std::vector<MeshVertex>& vertices,
                      const std::vector<std::uint16_t>& indices) {
    std::string bytes(kMeshHeaderBytes, '\0');
    std::memcpy(&bytes[100], &triangles, 4);
    std::memcpy(&bytes[104], &vertexCount, 4);
    bytes.append(reinterpret_cast<const char*>(vertices.data()), vertices.size() * sizeof(MeshVertex));
    bytes.append(reinterpret_cast<const char*>(indices.data()), indices.size() * 2);
    return bytes;
}

// An asset folder with the given island file, a 25-byte path file and a flat grey heightmap.
std::string MakeAssets(const char* tag, const std::string& islandBytes) {
    const std::string root = testing_support::MakeTempFolder(tag);
    ::mkdir((root + "/DANE").c_str(), 0755);
    ::mkdir((root + "/TEKSTURY").c_str(), 0755);
    std::ofstream(root + "/DANE/otchlan.dat", std::ios::binary) << islandBytes;
    const float track[6] = {10, 20, 30, 40, 50, 60};
    std::string trackBytes(reinterpret_cast<const char*>(track), sizeof track);
    trackBytes += '\x7f';   // a 25th byte, which is not a whole point
    std::ofstream(root + "/DANE/track3.dat", std::ios::binary) << trackBytes;
    testing_support::WriteFile(root + "/TEKSTURY/teren.BMP",
                               testing_support::MakeBMP(24, 24, 24, std::vector<std::uint8_t>(24 * 24 * 3, 128)));
    return root;
}

// An island of two triangles whose highest point, after the exchange of y and z, is 2.4.
std::string SmallIsland() {
    const std::vector<MeshVertex> vertices = {
        {10, 20, 30, 0.1f, 0.2f, 0.3f, 0, 0}, {-10, 0, -5, 0, 0, 1, 1, 0}, {0, -10, 0, 0, 0, 1, 0, 1}};
    return MeshBytes(2, 3, vertices, {0, 1, 2, 2, 1, 0});
}

// Fresh program-wide state and a virtual clock, so each test sees the scene as the demo does.
void ResetClockAndAnimation() {
    sceneThreeAnimation = SceneThreeAnimation{};
    lensFlare = LensFlareState{};
    platform::UseVirtualClock(1000);
    ResetSceneClock();
}

// Draws one frame `ms` after the previous one.
void FrameAfter(SceneThree& scene, double ms) {
    platform::AdvanceVirtualClock(ms);
    ASSERT_TRUE(scene.Frame());
}

struct Counts {
    std::size_t matching = 0, total = 0;
};

// How many pixels of the frame lie within `slack` of (r, g, b), over rows y0..y1.
Counts CountColour(const std::vector<std::uint8_t>& frame, int r, int g, int b, int slack, int y0 = 0, int y1 = 479) {
    Counts counts;
    for (int y = y0; y <= y1; ++y)
        for (int x = 0; x < 640; ++x) {
            const std::uint8_t* p = &frame[(static_cast<std::size_t>(y) * 640 + x) * 3];
            ++counts.total;
            if (std::abs(p[0] - r) <= slack && std::abs(p[1] - g) <= slack && std::abs(p[2] - b) <= slack)
                ++counts.matching;
        }
    return counts;
}

bool AllPixels(const std::vector<std::uint8_t>& frame, int r, int g, int b, int slack, int y0 = 0, int y1 = 479) {
    const Counts counts = CountColour(frame, r, g, b, slack, y0, y1);
    return counts.matching == counts.total;
}

}  // namespace

TEST(SceneThree, LoadTurnsTheIslandUprightAndBuildsTreeSeaPathAndNoiseTexture) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    platform::SetAssetRoot(MakeAssets("scene-three", SmallIsland()));
    SceneThree scene;
    ASSERT_EQ(scene.textureCount, 12);
    EXPECT_TRUE(std::all_of(scene.textures, scene.textures + 12, [](GLuint name) { return name == 0; }));
    testing::internal::CaptureStderr();
    ASSERT_TRUE(scene.Load());
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_EQ(messages.find("otchlan.dat"), std::string::npos) << messages;
    EXPECT_EQ(messages.find("teren.BMP"), std::string::npos) << messages;
    EXPECT_FALSE(scene.Load());

    // Scaled by 0.08, y and z exchanged in the position and in the normal.
    ASSERT_EQ(scene.island.vertexCount, 3);
    const MeshVertex& v = scene.island.vertices[0];
    EXPECT_FLOAT_EQ(v.x, 0.8f);
    EXPECT_FLOAT_EQ(v.y, 2.4f);
    EXPECT_FLOAT_EQ(v.z, 1.6f);
    EXPECT_FLOAT_EQ(v.ny, 0.3f);
    EXPECT_FLOAT_EQ(v.nz, 0.2f);
    EXPECT_FLOAT_EQ(scene.islandTop, 2.4f);
    EXPECT_EQ(scene.islandIndices.size(), 6u);

    // The tree stands half a unit below the highest point; the root ring starts at its foot.
    ASSERT_NE(scene.tree, nullptr);
    EXPECT_EQ(scene.tree->leaves->centres.size(), 256u);
    EXPECT_NEAR(scene.tree->trunk->positions[0].y, 1.9f, 1e-5f);

    // 25 bytes are two points, y and z exchanged, times 0.08.
    ASSERT_EQ(scene.track.points.size(), 2u);
    EXPECT_FLOAT_EQ(scene.track.points[1].y, 60 * 0.08f);
    EXPECT_FLOAT_EQ(scene.track.points[1].z, 50 * 0.08f);

    // The sea: 73 × 73, the texture seven times across, flat at 128 grey.
    ASSERT_EQ(scene.sea.columns, 73u);
    ASSERT_EQ(scene.sea.rows, 73u);
    EXPECT_NEAR(scene.sea.vertices.back().u, 7.0f, 1e-4f);
    EXPECT_NEAR(scene.sea.vertices.back().v, 7.0f, 1e-4f);
    EXPECT_NEAR(scene.sea.vertices[100].y, 128 * 0.05f - 0.05f * 255 * 0.5f, 1e-5f);

    ASSERT_TRUE(glIsTexture(scene.textures[6]));
    GLint width = 0;
    glBindTexture(GL_TEXTURE_1D, scene.textures[6]);
    glGetTexLevelParameteriv(GL_TEXTURE_1D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 256);

    // Unload deletes the name the scene made; the pictures' names belong to the demo's texture
    // slots, which give them back themselves, so they outlive the scene.
    GLuint bystander = 0;
    glGenTextures(1, &bystander);
    glBindTexture(GL_TEXTURE_2D, bystander);
    Texture2D slot;
    slot.Bind();
    scene.textures[0] = slot.name;
    const GLuint noise = scene.textures[6];
    EXPECT_TRUE(scene.Unload());
    EXPECT_FALSE(glIsTexture(noise));
    EXPECT_TRUE(glIsTexture(bystander));
    EXPECT_TRUE(glIsTexture(slot.name));
    EXPECT_FALSE(scene.Unload());
    glDeleteTextures(1, &bystander);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(SceneThree, HostileIslandFilesAreNamedAndTheSceneStillPlays) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const std::vector<MeshVertex> three = {{0, 0, 0, 0, 0, 1, 0, 0}, {10, 0, 0, 0, 0, 1, 1, 0}, {0, 10, 5, 0, 0, 1, 0, 1}};
    struct Case {
        const char* what;
        std::string bytes;
        std::size_t indices;   // island indices kept for drawing
        float rootY;           // height of the tree's foot
    };
    const std::string whole = MeshBytes(2, 3, three, {0, 1, 2, 2, 1, 0});
    const Case cases[] = {
        {"empty file", std::string(), 0, -0.5f},
        {"cut short", whole.substr(0, whole.size() - 5), 0, -0.5f},
        {"header only", whole.substr(0, kMeshHeaderBytes), 0, -0.5f},
        {"huge counts", MeshBytes(0x7fffffff, 0x7fffffff, three, {0, 1, 2}), 0, -0.5f},
        {"indexes past the vertices", MeshBytes(3, 3, three, {0, 1, 2, 0, 1, 3, 2, 1, 60000}), 3, 0.4f - 0.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::SetAssetRoot(MakeAssets("scene-three-bad", c.bytes));
        ResetClockAndAnimation();
        SceneThree scene;
        testing::internal::CaptureStderr();
        ASSERT_TRUE(scene.Load());
        const std::string messages = testing::internal::GetCapturedStderr();
        // One line about the island (the 25-byte path file adds its own).
        std::size_t islandLines = 0;
        for (std::size_t at = messages.find("otchlan.dat"); at != std::string::npos; at = messages.find("otchlan.dat", at + 1))
            ++islandLines;
        EXPECT_EQ(islandLines, 1u) << messages;
        EXPECT_EQ(scene.islandIndices.size(), c.indices);
        EXPECT_NEAR(scene.tree->trunk->positions[0].y, c.rootY, 1e-5f);
        ASSERT_TRUE(scene.Start());
        FrameAfter(scene, 50);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        scene.Unload();
        scene.Stop();
    }

    // No island file and no heightmap: an empty island, an empty sea, and both sections draw.
    platform::SetAssetRoot(testing_support::MakeTempFolder("scene-three-none"));
    ResetClockAndAnimation();
    SceneThree scene;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(scene.Load());
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find("otchlan.dat"), std::string::npos) << messages;
    EXPECT_NE(messages.find("teren.BMP"), std::string::npos) << messages;
    EXPECT_EQ(scene.sea.rows, 0u);
    EXPECT_NEAR(scene.tree->trunk->positions[0].y, -0.5f, 1e-5f);
    ASSERT_TRUE(scene.Start());
    FrameAfter(scene, 50);
    scene.localTime = kSeaSectionTime;
    FrameAfter(scene, 50);
    EXPECT_TRUE(scene.sectionTwo);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    scene.Unload();
    scene.Stop();
}

// Without the loading screen the texture names are 0, so the credits picture comes out as a
// plain white rectangle: what is white is the picture, what is black is the screen.
TEST(SceneThree, SectionsFollowInOrderWithTheirFlashesAndTheVeil) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    platform::SetAssetRoot(MakeAssets("scene-three-sections", SmallIsland()));
    ResetClockAndAnimation();
    SceneThree scene;
    EXPECT_FALSE(scene.Frame());   // neither loaded nor started
    ASSERT_TRUE(scene.Load());
    EXPECT_FALSE(scene.Frame());   // loaded, not started
    ASSERT_TRUE(scene.Start());

    // The first frame is under the full white flash; four seconds later it is gone.
    FrameAfter(scene, 0);
    EXPECT_TRUE(AllPixels(testing_support::ReadFrame(), 255, 255, 255, 2));
    FrameAfter(scene, 3900);
    EXPECT_TRUE(scene.whiteFlash);
    FrameAfter(scene, 200);
    EXPECT_FALSE(scene.whiteFlash);
    EXPECT_FLOAT_EQ(sceneThreeAnimation.flashLevel, 1.0f);

    // The veil belongs to the sea: raised over the island, it draws nothing there.
    scene.AdvanceFadeOut(0);
    EXPECT_TRUE(scene.fadeToRed);
    FrameAfter(scene, 100);
    EXPECT_FALSE(scene.sectionTwo);
    EXPECT_EQ(sceneThreeAnimation.redAlpha, 0.0f);
    const std::vector<std::uint8_t> island = testing_support::ReadFrame();
    EXPECT_GT(CountColour(island, 153, 153, 255, 3).matching, 1000u);   // the blue sky shows

    // Exactly 15.3 s is the sea, opened by the second flash at full strength.
    scene.localTime = kSeaSectionTime;
    FrameAfter(scene, 0);
    EXPECT_TRUE(scene.sectionTwo);
    EXPECT_TRUE(scene.whiteFlash);
    EXPECT_FALSE(sceneThreeAnimation.firstSeaFrame);
    EXPECT_TRUE(AllPixels(testing_support::ReadFrame(), 255, 255, 255, 2));

    // A quarter of the veil a second; the frame that completes it is all veil, the next one
    // starts the credits on black.
    for (int second = 1; second <= 4; ++second) {
        FrameAfter(scene, 1000);
        EXPECT_FLOAT_EQ(sceneThreeAnimation.redAlpha, 0.25f * second);
        EXPECT_FALSE(scene.creditsRoll);
    }
    FrameAfter(scene, 1000);
    EXPECT_TRUE(scene.creditsRoll);
    EXPECT_FALSE(scene.whiteFlash);
    EXPECT_TRUE(AllPixels(testing_support::ReadFrame(), 64, 0, 0, 2));

    FrameAfter(scene, 100);   // the picture's top is still 5 pixels below the screen
    EXPECT_TRUE(AllPixels(testing_support::ReadFrame(), 0, 0, 0, 0));

    // 45.71 pixels a second; nothing but the picture over black, and the veil is not drawn
    // again however often the fade-out phase asks for it.
    scene.AdvanceFadeOut(0);
    FrameAfter(scene, 4900);
    const float top = sceneThreeAnimation.creditsY - 10.0f;
    EXPECT_NEAR(top, 45.71f * 5.0f - 10.0f, 0.05f);
    const std::vector<std::uint8_t> credits = testing_support::ReadFrame();
    EXPECT_TRUE(AllPixels(credits, 255, 255, 255, 0, 0, static_cast<int>(top) - 1));
    EXPECT_TRUE(AllPixels(credits, 0, 0, 0, 0, static_cast<int>(top) + 1, 479));
    EXPECT_FLOAT_EQ(sceneThreeAnimation.redAlpha, 1.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    scene.Unload();
    scene.Stop();
    platform::UseLiveClock();
}

// The section as the demo plays it, from the loading screen on, at 5 frames per second of the
// virtual clock: the first flash over the island, the island turning under the sun with its
// flare, the sea under the second flash, the open sea, the red veil, and the credits.
TEST(SceneThree, MatchesReferenceFrames) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const std::string root = testing_support::TestAssetRoot();
    platform::SetAssetRoot(root);
    for (const char* name : {"DANE\\otchlan.dat", "TEKSTURY\\teren.BMP", "TEKSTURY\\sun.BMP", "TEKSTURY\\credits.BMP"})
        if (platform::ResolveAssetPath(name).empty()) GTEST_SKIP() << "the generated assets are not in " << root;

    struct Capture {
        int frame;   // scene frame n is drawn at demo time 112.3 + n × 0.2 s
        const char* name;
    };
    const Capture captures[] = {
        {3, "scene_three_112_9s"},   {35, "scene_three_119_3s"},  {80, "scene_three_128_3s"},
        {190, "scene_three_150_3s"}, {300, "scene_three_172_3s"}, {365, "scene_three_185_3s"},
    };

    sceneThreeAnimation = SceneThreeAnimation{};
    lensFlare = LensFlareState{};
    cloudDrift = CloudDrift{};
    platform::SRand(1);
    platform::UseVirtualClock(0);
    ResetSceneClock();
    SceneThree scene;
    scene.SetTiming(112.3f, 200.0f, 0.0f, 30.0f);
    Demo demo;
    demo.AddScene(&scene);
    ASSERT_TRUE(demo.LoadAll());
    demo.clock = 112.3f;   // no scene before this one: start at its window

    int sceneFrame = -1;
    std::size_t next = 0;
    bool sawIsland = false, sawSea = false, sawVeil = false;
    while (next < std::size(captures)) {
        ASSERT_TRUE(demo.Tick());
        ASSERT_EQ(demo.currentScene, &scene);
        ++sceneFrame;
        sawIsland = sawIsland || !scene.sectionTwo;
        sawSea = sawSea || (scene.sectionTwo && !scene.fadeToRed);
        sawVeil = sawVeil || (scene.fadeToRed && !scene.creditsRoll);
        if (sceneFrame == captures[next].frame) {
            SCOPED_TRACE(captures[next].name);
            EXPECT_NEAR(scene.localTime, captures[next].frame * 0.2f, 0.01f);
            const std::vector<std::uint8_t> frame = testing_support::ReadFrame();
            const std::string mismatch =
                testing_support::CompareWithReference(captures[next].name, frame, 640, 480, 4.0);
            EXPECT_TRUE(mismatch.empty()) << mismatch;
            ++next;
        }
        platform::AdvanceVirtualClock(200);
    }
    EXPECT_TRUE(sawIsland && sawSea && sawVeil);
    EXPECT_TRUE(scene.creditsRoll);
    // The veil starts with the fade-out phase at 170 s and is complete four seconds later.
    EXPECT_GT(sceneThreeAnimation.creditsY, 45.71f * (185.3f - 174.2f));
    EXPECT_LT(sceneThreeAnimation.creditsY, 45.71f * (185.3f - 173.8f));
    scene.Unload();
    scene.Stop();
    platform::UseLiveClock();
}

// Drawn nearest first, the alpha-tested leaves leave the picture their growing order leaves:
// each pixel shows the nearest leaf that passes the test. Three moments of the turning island;
// where two leaves cut each other at one depth the later one wins, so a few pixels on such a
// line may go the other way. Without their back faces, the branches change only the pixels
// where the inside of a tube shows at its open end: within one level on all but a thousandth
// of the pixels.
TEST(SceneThree, LeavesNearestFirstAndBranchesWithoutBackFacesKeepThePicture) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    platform::SetAssetRoot(testing_support::TestAssetRoot());
    if (platform::ResolveAssetPath("DANE\\otchlan.dat").empty()) GTEST_SKIP() << "no generated assets";
    const std::vector<int> wanted = {20, 45, 70};   // scene frame n at 112.3 + n × 0.2 s
    std::vector<std::vector<std::uint8_t>> pictures[3];   // plain, nearest first, and without back faces
    for (int variant = 0; variant < 3; ++variant) {
        sceneThreeAnimation = SceneThreeAnimation{};
        lensFlare = LensFlareState{};
        cloudDrift = CloudDrift{};
        platform::SRand(1);
        platform::UseVirtualClock(0);
        ResetSceneClock();
        SceneThree scene;
        scene.nearestLeavesFirst = variant != 0;
        scene.cullBranchBacks = variant == 2;
        scene.SetTiming(112.3f, 200.0f, 0.0f, 30.0f);
        Demo demo;
        demo.AddScene(&scene);
        ASSERT_TRUE(demo.LoadAll());
        demo.clock = 112.3f;
        for (int frame = 0; frame <= wanted.back(); ++frame) {
            ASSERT_TRUE(demo.Tick());
            if (std::find(wanted.begin(), wanted.end(), frame) != wanted.end())
                pictures[variant].push_back(testing_support::ReadFrame());
            platform::AdvanceVirtualClock(200);
        }
        scene.Unload();
        scene.Stop();
        platform::UseLiveClock();
    }
    for (const auto& variant : pictures) ASSERT_EQ(variant.size(), wanted.size());
    for (std::size_t k = 0; k < wanted.size(); ++k) {
        const std::vector<std::uint8_t>& plain = pictures[0][k];
        const std::size_t pixels = plain.size() / 3;
        std::size_t apart = 0, far = 0, total = 0;
        for (std::size_t i = 0; i < plain.size(); ++i) apart += plain[i] != pictures[1][k][i];
        for (std::size_t p = 0; p < pixels; ++p) {
            int worst = 0;
            for (std::size_t c = 3 * p; c < 3 * p + 3; ++c) worst = std::max(worst, std::abs(pictures[1][k][c] - pictures[2][k][c]));
            far += worst > 1;
            total += static_cast<std::size_t>(worst);
        }
        EXPECT_LE(apart, plain.size() / 10000) << "frame " << wanted[k];
        EXPECT_LE(far, pixels / 1000) << "frame " << wanted[k];
        EXPECT_LE(static_cast<double>(total) / static_cast<double>(pixels), 0.25) << "frame " << wanted[k];
    }
}
