// Scene one: the turn timers, vertex weights, detail levels, first frame and reference pictures.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/settings.h"
#include "demo/demo.h"
#include "platform/asset_path.h"
#include "platform/gl.h"
#include "platform/random.h"
#include "platform/tick.h"
#include "scenes/scene_one.h"
#include "support/bmp_files.h"
#include "support/gl_test_context.h"

namespace {

void WriteMesh(const std::string& path, const std::vector<MeshVertex>& vertices,
               const std::vector<std::uint16_t>& indices) {
    std::string bytes(kMeshHeaderBytes, '\0');
    const std::int32_t triangles = static_cast<std::int32_t>(indices.size() / 3);
    const std::int32_t count = static_cast<std::int32_t>(vertices.size());
    std::memcpy(&bytes[100], &triangles, 4);
    std::memcpy(&bytes[104], &count, 4);
    bytes.append(reinterpret_cast<const char*>(vertices.data()), vertices.size() * sizeof(MeshVertex));
    bytes.append(reinterpret_cast<const char*>(indices.data()), indices.size() * 2);
    std::ofstream(path, std::ios::binary) << bytes;
}

// A small asset folder: a two-sided triangle as the object (so one side always survives
// culling), a triangle on the floor, and a ring of path points 30 units out and 15 up.
std::string MakeSmallAssets() {
    static std::string root;
    if (!root.empty()) return root;
    root = testing_support::MakeTempFolder("scene-one");
    ::mkdir((root + "/DANE").c_str(), 0755);
    ::mkdir((root + "/TEKSTURY").c_str(), 0755);
    const std::vector<MeshVertex> triangle = {
        {-20, -20, 0, 0, 0, 1, 0, 0}, {20, -20, 0, 0, 0, 1, 1, 0}, {0, 20, 0, 0, 0, 1, 0.5f, 1}};
    // The last triangle names a vertex that does not exist and must be skipped.
    WriteMesh(root + "/DANE/data.dat", triangle, {0, 1, 2, 2, 1, 0, 0, 1, 9});
    WriteMesh(root + "/DANE/ramka.dat", triangle, {0, 1, 2});
    std::string track;
    for (int i = 0; i < 12; ++i) {
        const float a = static_cast<float>(i) * 6.2831853f / 12.0f;
        const float point[3] = {400.0f * std::cos(a), 400.0f * std::sin(a), 200.0f};
        track.append(reinterpret_cast<const char*>(point), sizeof point);
    }
    std::ofstream(root + "/DANE/track.dat", std::ios::binary) << track;
    return root;
}

// Loads and starts a scene on the small assets, with the scene clock about to read t = 0.
void LoadAndStart(SceneOne& scene) {
    platform::SetAssetRoot(MakeSmallAssets());
    platform::UseVirtualClock(1000);
    ResetSceneClock();
    scene.SetTiming(0.2f, 50.0f, 0.0f, 0.5f);
    ASSERT_TRUE(scene.Load());
    ASSERT_TRUE(scene.Start());
}

struct Polygon {
    float color[4];
    int corners;
};

// The polygons one frame sends down the pipeline, with their colours.
std::vector<Polygon> CaptureFrame(SceneOne& scene) {
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    scene.Frame();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<Polygon> polygons;
    for (GLint i = 0; i < used;) {
        if (buffer[i] != GL_POLYGON_TOKEN) break;
        Polygon polygon{{buffer[i + 5], buffer[i + 6], buffer[i + 7], buffer[i + 8]}, static_cast<int>(buffer[i + 1])};
        polygons.push_back(polygon);
        i += 2 + 7 * polygon.corners;
    }
    return polygons;
}

int CountColor(const std::vector<Polygon>& polygons, float r, float g, float b, float a) {
    int count = 0;
    for (const Polygon& p : polygons)
        if (std::fabs(p.color[0] - r) < 1e-3f && std::fabs(p.color[1] - g) < 1e-3f &&
            std::fabs(p.color[2] - b) < 1e-3f && std::fabs(p.color[3] - a) < 1e-3f)
            ++count;
    return count;
}

}  // namespace

TEST(SceneOne, TurnTimersPickTheAccelerationByPriority) {
    SceneOne scene;
    scene.ScheduleObjects();
    struct Case {
        float t, expectedSpeed;
    };
    // From a speed of 10 with a step of 0.1 s: +60 gives 16, -60 gives 4, braking 9.65.
    const Case cases[] = {
        {22.0f, 16.0f},   // positive and negative both active: positive wins
        {30.0f, 16.0f},   // positive still active at the end of its window, no braking
        {31.0f, 9.65f},   // braking alone
        {33.0f, 4.0f},    // negative wins over braking
        {10.0f, 10.0f},   // no timer: the speed is kept
        {45.0f, 10.0f},
    };
    for (const Case& c : cases) {
        scene.turnSpeed = 10.0f;
        scene.turnAngle = 0.0f;
        scene.StepTurn(c.t, 0.1f);
        EXPECT_FLOAT_EQ(scene.turnSpeed, c.expectedSpeed) << c.t;
        EXPECT_FLOAT_EQ(scene.turnAngle, c.expectedSpeed * 0.1f) << c.t;
    }
}

TEST(SceneOne, TurnStaysWithinTheLimitAndTheTwistLags) {
    SceneOne scene;
    scene.ScheduleObjects();
    float twistAt21 = 0, twistAt29 = 0, speedAt40 = 0;
    for (int frame = 0; frame <= 50 * 25; ++frame) {
        const float t = frame * 0.04f;
        scene.StepTurn(t, frame == 0 ? 0.0f : 0.04f);
        ASSERT_LE(std::fabs(scene.turnSpeed), 120.0f) << t;
        if (frame == 21 * 25) twistAt21 = scene.twistAngle;
        if (frame == 29 * 25) twistAt29 = scene.twistAngle;
        if (frame == 41 * 25) speedAt40 = scene.turnSpeed;
        if (frame > 41 * 25) { ASSERT_FLOAT_EQ(scene.turnSpeed, speedAt40) << t; }
    }
    EXPECT_FLOAT_EQ(speedAt40, -120.0f);
    // Turning one way drags the outer part the other way.
    EXPECT_GT(twistAt21, 0.0f);
    EXPECT_LT(twistAt29, 0.0f);
    EXPECT_LT(scene.turnAngle, 0.0f);   // still turning after the timers have ended
}

TEST(SceneOne, VertexWeightsFallFromTheCentreToTheFarthestVertex) {
    const std::vector<MeshVertex> vertices = {
        {0, 0, 0, 0, 0, 1, 0, 0}, {10, 0, 0, 0, 0, 1, 0, 0}, {0, 6, 8, 0, 0, 1, 0, 0},
        {0, 0, -15, 0, 0, 1, 0, 0}, {12, 16, 0, 0, 0, 1, 0, 0}};
    std::vector<float> weights(vertices.size(), -1.0f);
    ComputeVertexWeights(vertices.data(), static_cast<int>(vertices.size()), weights.data());
    EXPECT_FLOAT_EQ(weights[0], 1.0f);
    EXPECT_FLOAT_EQ(weights[1], 1.0f);   // exactly 10 still counts as inner
    EXPECT_FLOAT_EQ(weights[2], 1.0f);
    EXPECT_FLOAT_EQ(weights[3], 0.5f);
    EXPECT_FLOAT_EQ(weights[4], 0.0f);   // the farthest vertex, at 20

    // Nothing beyond 10: all inner, and the division is never reached.
    const std::vector<MeshVertex> small = {{1, 0, 0, 0, 0, 1, 0, 0}, {0, 10, 0, 0, 0, 1, 0, 0}};
    std::vector<float> smallWeights(2, -1.0f);
    ComputeVertexWeights(small.data(), 2, smallWeights.data());
    EXPECT_FLOAT_EQ(smallWeights[0], 1.0f);
    EXPECT_FLOAT_EQ(smallWeights[1], 1.0f);
}

TEST(SceneOne, FirstFrameIsBlackAndStill) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    SceneOne scene;
    EXPECT_FALSE(scene.Frame());   // neither loaded nor started: no clock, no drawing
    EXPECT_FLOAT_EQ(scene.localTime, 0.0f);
    LoadAndStart(scene);
    EXPECT_EQ(scene.mainMesh.triangleCount, 3);
    EXPECT_EQ(scene.trackPoints.points.size(), 12u);

    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(scene.Frame());
    EXPECT_EQ(scene.localTime, 0.0f);
    EXPECT_EQ(scene.frameTime, 0.0f);
    EXPECT_EQ(scene.turnAngle, 0.0f);
    EXPECT_EQ(scene.camera.pathPosition, 0.0f);
    EXPECT_FLOAT_EQ(scene.fade.color[3], 1.0f);
    // The SwapBuffers of the offscreen driver keeps the back buffer, so it shows this frame.
    const std::vector<std::uint8_t> rgb = testing_support::ReadFrame();
    int lit = 0;
    for (std::uint8_t value : rgb) lit += value > 2;
    EXPECT_EQ(lit, 0);
    glClearColor(0, 0, 0, 0);

    // Once unloaded the lists are gone, and a second Unload (from shutdown) does nothing.
    const GLuint list = scene.mainList;
    EXPECT_TRUE(glIsList(list));
    EXPECT_TRUE(scene.Unload());
    EXPECT_FALSE(glIsList(list));
    EXPECT_EQ(scene.codeCaption, nullptr);
    EXPECT_EQ(scene.mainMesh.vertexCount, 0);
    EXPECT_FALSE(scene.Unload());
    EXPECT_FALSE(scene.Frame());
    EXPECT_TRUE(scene.Stop());
    EXPECT_FALSE(scene.Stop());
    platform::UseLiveClock();
}

TEST(SceneOne, DetailLevelChoosesLayersAndReflection) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const std::int32_t savedDetail = settings.detailLevel;
    SceneOne scene;
    // The separate passes, each layer in its own colour; the one-pass stack is held to the same
    // picture by LeavingOutHiddenDrawingKeepsEveryPixel.
    scene.skipHiddenWork = false;
    LoadAndStart(scene);
    scene.localTime = 20.0f;   // past the black fades, the sprites in flight
    struct Expectation {
        int detail;
        bool second, third;
        int objectPolygons;
    };
    for (const Expectation& e : {Expectation{0, false, false, 1}, Expectation{1, true, false, 2},
                                 Expectation{2, true, true, 2}}) {
        SCOPED_TRACE(e.detail);
        settings.detailLevel = e.detail;
        platform::AdvanceVirtualClock(40);
        const std::vector<Polygon> polygons = CaptureFrame(scene);
        EXPECT_GT(CountColor(polygons, 0.9f, 0.9f, 1.0f, 1.0f), 0);
        EXPECT_EQ(CountColor(polygons, 1.0f, 0.9f, 0.7f, 1.0f) > 0, e.second);
        EXPECT_EQ(CountColor(polygons, 1.0f, 0.2f, 0.2f, 1.0f) > 0, e.third);
        // One face of the two-sided object, once more in the mirror; the bad triangle never.
        EXPECT_EQ(CountColor(polygons, 1.0f, 1.0f, 1.0f, 1.0f), e.objectPolygons);
        EXPECT_GT(CountColor(polygons, 0.6f, 0.6f, 0.6f, 1.0f), 0);   // a sprite
    }
    settings.detailLevel = savedDetail;
    scene.Unload();
    scene.Stop();
    platform::UseLiveClock();
}

// Plays the scene as the demo does, through the texture registry and the loading screen, at 25
// frames per second on the virtual clock, and reads the picture of each listed scene frame (scene
// frame n is drawn at scene time n × 0.04 s). Empty when the context or the generated assets are
// missing.
std::vector<std::vector<std::uint8_t>> PlaySceneOne(const std::vector<int>& frames, bool skipHiddenWork) {
    std::vector<std::vector<std::uint8_t>> pictures;
    if (!testing_support::OpenGLTestContext()) return pictures;
    platform::SetAssetRoot(testing_support::TestAssetRoot());
    if (platform::ResolveAssetPath("DANE\\data.dat").empty() || platform::ResolveAssetPath("DANE\\track.dat").empty())
        return pictures;

    platform::SRand(1);
    platform::UseVirtualClock(0);
    ResetSceneClock();
    SceneOne scene;
    scene.skipHiddenWork = skipHiddenWork;
    scene.SetTiming(0.2f, 50.0f, 0.0f, 0.5f);
    Demo demo;
    demo.AddScene(&scene);
    EXPECT_TRUE(demo.LoadAll());
    EXPECT_GT(scene.mainMesh.triangleCount, 0);

    // Frames between captures only need to advance the scene, so they are drawn through a
    // one-pixel scissor (software rendering is slow); every captured frame repaints all pixels.
    glScissor(0, 0, 1, 1);
    int sceneFrame = -1;
    size_t next = 0;
    while (next < frames.size()) {
        glEnable(GL_SCISSOR_TEST);
        if (sceneFrame + 1 == frames[next]) glDisable(GL_SCISSOR_TEST);
        if (!demo.Tick()) break;
        if (demo.currentScene == &scene) ++sceneFrame;
        if (sceneFrame == frames[next]) {
            EXPECT_NEAR(scene.localTime, frames[next] * 0.04f, 0.01f);
            pictures.push_back(testing_support::ReadFrame());
            ++next;
        }
        platform::AdvanceVirtualClock(40);
    }
    glDisable(GL_SCISSOR_TEST);
    scene.Unload();
    scene.Stop();
    platform::UseLiveClock();
    return pictures;
}

// Frames at fixed scene times against stored pictures.
TEST(SceneOne, MatchesReferenceFrames) {
    struct Capture {
        int frame;
        const char* name;
    };
    const Capture captures[] = {
        {12, "scene_one_00_48s"},  {125, "scene_one_05_00s"}, {400, "scene_one_16_00s"},
        {625, "scene_one_25_00s"}, {1125, "scene_one_45_00s"}, {1238, "scene_one_49_52s"},
    };
    std::vector<int> frames;
    for (const Capture& capture : captures) frames.push_back(capture.frame);
    const auto pictures = PlaySceneOne(frames, true);
    if (pictures.empty()) GTEST_SKIP() << "no GL context or no generated assets";
    ASSERT_EQ(pictures.size(), frames.size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        const std::string mismatch =
            testing_support::CompareWithReference(captures[i].name, pictures[i], 640, 480, 3.0);
        EXPECT_TRUE(mismatch.empty()) << mismatch;
    }
}

// Leaving out what cannot be seen (the 3D picture under the opaque black, the background under
// the object) must not change a pixel: the frames are compared at full size with the plain
// drawing, which draws everything in the order written.
TEST(SceneOne, LeavingOutHiddenDrawingKeepsEveryPixel) {
    // 1.0 s: fading, everything drawn; 4.0 s and 12.0 s: under the opaque black, captions on
    // top at 4.0; 13.5 s: the last fade; 16, 25 and 45 s: the object over the background.
    const std::vector<int> frames = {25, 100, 300, 338, 400, 625, 1125};
    const auto shortcut = PlaySceneOne(frames, true);
    if (shortcut.empty()) GTEST_SKIP() << "no GL context or no generated assets";
    const auto plain = PlaySceneOne(frames, false);
    ASSERT_EQ(shortcut.size(), frames.size());
    ASSERT_EQ(plain.size(), frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(frames[i]);
        ASSERT_EQ(shortcut[i].size(), plain[i].size());
        size_t off = 0;   // pixels with a channel more than 2 levels away
        for (size_t p = 0; p + 2 < plain[i].size(); p += 3) {
            int worst = 0;
            for (int k = 0; k < 3; ++k) worst = std::max(worst, std::abs(shortcut[i][p + k] - plain[i][p + k]));
            if (worst > 2) ++off;
        }
        EXPECT_LE(off, plain[i].size() / 3 / 1000);
    }
}
