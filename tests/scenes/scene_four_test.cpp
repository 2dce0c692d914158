// Scene four: what Load reads and builds from the cave file, the state Start and Stop leave,
// cave files that are short or missing, and frames of the whole section against stored pictures.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
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
#include "scenes/scene_four.h"
#include "support/bmp_files.h"
#include "support/gl_test_context.h"

namespace {

// One mesh of `count` vertices in a fan of count − 2 triangles; vertex i sits at (i, 20, 40)
// in file units with the normal (0, 1, 0).
std::string EncodeFan(int count) {
    std::string bytes(kMeshHeaderBytes, '\0');
    const std::int32_t triangles = count - 2, vertices = count;
    std::memcpy(&bytes[100], &triangles, 4);
    std::memcpy(&bytes[104], &vertices, 4);
    for (int i = 0; i < count; ++i) {
        const MeshVertex v{static_cast<float>(i), 20, 40, 0, 1, 0, 0.5f, 0.25f};
        bytes.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
    for (int t = 0; t + 2 < count; ++t) {
        const std::uint16_t corners[3] = {0, static_cast<std::uint16_t>(t + 1), static_cast<std::uint16_t>(t + 2)};
        bytes.append(reinterpret_cast<const char*>(corners), sizeof corners);
    }
    return bytes;
}

// An asset folder whose cave file holds `bytes`; no pictures, so every texture name is 0.
std::string CaveFolder(const char* tag, const std::string& bytes) {
    const std::string root = testing_support::MakeTempFolder(tag);
    ::mkdir((root + "/DANE").c_str(), 0755);
    ::mkdir((root + "/TEKSTURY").c_str(), 0755);
    std::ofstream(root + "/DANE/jaskinia.dat", std::ios::binary) << bytes;
    return root;
}

void ClearGLErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

// Load, Start and a few frames on the virtual clock; the GL error after them.
GLenum LoadAndDraw(SceneFour& scene, std::string& errors) {
    platform::UseVirtualClock(5000);
    ResetSceneClock();
    ClearGLErrors();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(scene.Load());
    errors = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(scene.Start());
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(scene.Frame());
        platform::AdvanceVirtualClock(100);
    }
    platform::UseLiveClock();
    return glGetError();
}

// Puts back what the section carries over the whole run, as the program starts with it. Earlier
// tests leave the opening fade part-way (alpha 0.3 after their 21 frames), which lightens the
// first seconds past the tolerance; the ripple timer, the caustic picture and the reseed count
// shift the later frames too, and an odd disturbance count would poke the other patch first.
void ResetRunLongState() {
    sceneFourAnimation = SceneFourAnimation{};
    causticAnimation = CausticAnimation{};
    particleReseed = ParticleReseed{};
    waterDisturbance = WaterDisturbance{};
}

// The section from its start at 10 frames per second of the virtual clock, as the demo plays it,
// with the cave split at the fog's start or drawn plainly; the pictures of the listed scene
// frames (frame n at demo time 87 + n × 0.1 s). The frames between are drawn through a one-pixel
// scissor. Empty without a context or the generated assets.
std::vector<std::vector<std::uint8_t>> PlaySceneFour(const std::vector<int>& frames, bool split) {
    std::vector<std::vector<std::uint8_t>> pictures;
    if (!testing_support::OpenGLTestContext()) return pictures;
    platform::SetAssetRoot(testing_support::TestAssetRoot());
    if (platform::ResolveAssetPath("DANE\\jaskinia.dat").empty()) return pictures;
    ResetRunLongState();
    platform::SRand(1);
    platform::UseVirtualClock(0);
    ResetSceneClock();
    SceneFour scene;
    scene.splitAtFogStart = split;
    scene.SetTiming(87.0f, 112.3f, 0.0f, 0.0f);
    Demo demo;
    demo.AddScene(&scene);
    EXPECT_TRUE(demo.LoadAll());
    demo.clock = 87.0f;
    glScissor(0, 0, 1, 1);
    int sceneFrame = -1;
    for (std::size_t next = 0; next < frames.size();) {
        if (sceneFrame + 1 == frames[next])
            glDisable(GL_SCISSOR_TEST);
        else
            glEnable(GL_SCISSOR_TEST);
        if (!demo.Tick()) break;
        if (++sceneFrame == frames[next]) {
            pictures.push_back(testing_support::ReadFrame());
            ++next;
        }
        platform::AdvanceVirtualClock(100);
    }
    glDisable(GL_SCISSOR_TEST);
    scene.Unload();
    scene.Stop();
    platform::UseLiveClock();
    return pictures;
}

// The mean over the pixels of the largest channel difference, and the count of pixels with a
// channel more than one level apart.
void Difference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, double& mean, std::size_t& far) {
    double total = 0;
    far = 0;
    for (std::size_t p = 0; p + 2 < a.size(); p += 3) {
        int worst = 0;
        for (int k = 0; k < 3; ++k) worst = std::max(worst, std::abs(a[p + k] - b[p + k]));
        total += worst;
        far += worst > 1;
    }
    mean = total / static_cast<double>(a.size() / 3);
}

int CountOccurrences(const std::string& text, const std::string& word) {
    int count = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++count;
    return count;
}

}  // namespace

TEST(SceneFour, LoadKeepsTheFirstThirdAndFourthMeshTurnedIntoSceneUnits) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    platform::SetAssetRoot(CaveFolder("cave-order", EncodeFan(3) + EncodeFan(4) + EncodeFan(5) + EncodeFan(6)));
    SceneFour scene;
    std::string errors;
    EXPECT_EQ(LoadAndDraw(scene, errors), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(scene.Load()) << "once only";

    EXPECT_EQ(scene.caveMeshes[0].vertexCount, 3);
    EXPECT_EQ(scene.caveMeshes[1].vertexCount, 5) << "the file's second mesh is read over by its third";
    EXPECT_EQ(scene.caveMeshes[2].vertexCount, 6);
    EXPECT_EQ(scene.caveMeshes[2].triangleCount, 4);
    // (2, 20, 40) with normal (0, 1, 0) becomes (0.1, 2, -1) with normal (0, 0, -1).
    const MeshVertex& v = scene.caveMeshes[1].vertices[2];
    EXPECT_FLOAT_EQ(v.x, 0.1f);
    EXPECT_FLOAT_EQ(v.y, 2.0f);
    EXPECT_FLOAT_EQ(v.z, -1.0f);
    EXPECT_FLOAT_EQ(v.nx, 0.0f);
    EXPECT_FLOAT_EQ(v.ny, 0.0f);
    EXPECT_FLOAT_EQ(v.nz, -1.0f);
    EXPECT_FLOAT_EQ(v.s, 0.5f);
    for (GLuint list : scene.caveLists) EXPECT_TRUE(glIsList(list));

    // The warm-up leaves the sheet rippling and 139 of the 140 particles alight.
    float highest = 0.0f;
    for (const WaterVertex& w : scene.water.vertices) highest = std::max(highest, std::fabs(w.y));
    EXPECT_GT(highest, 0.001f);
    int active = 0;
    for (int k = 0; k < scene.emitter.n; ++k) active += scene.emitter.particles[k].active;
    EXPECT_GE(active, 139);

    // Start's scene-wide state, and what Stop leaves behind.
    GLint mode = 0;
    GLfloat start = 0, end = 0;
    glGetIntegerv(GL_FOG_MODE, &mode);
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    EXPECT_EQ(mode, GL_LINEAR);
    EXPECT_FLOAT_EQ(start, 28.0f);
    EXPECT_FLOAT_EQ(end, 38.0f);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    GLfloat attenuation = 0;
    glGetLightfv(GL_LIGHT1, GL_QUADRATIC_ATTENUATION, &attenuation);
    EXPECT_FLOAT_EQ(attenuation, 0.02f);

    const GLuint firstList = scene.caveLists[0];
    EXPECT_TRUE(scene.Unload());
    EXPECT_FALSE(glIsList(firstList));
    EXPECT_EQ(scene.caveMeshes[2].vertexCount, 6) << "the meshes stay until the destructor";
    EXPECT_FALSE(scene.Frame()) << "unloaded: draws nothing";
    EXPECT_TRUE(scene.Stop());
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_TRUE(glIsEnabled(GL_FOG)) << "fog stays on for the next scene";
    EXPECT_FALSE(scene.Unload());
    EXPECT_FALSE(scene.Stop());
}

TEST(SceneFour, TheDestructorLeavesGLAlone) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    platform::SetAssetRoot(CaveFolder("cave-destructor", EncodeFan(3) + EncodeFan(3) + EncodeFan(3) + EncodeFan(3)));
    GLuint list = 0;
    {
        SceneFour scene;
        std::string errors;
        LoadAndDraw(scene, errors);
        list = scene.caveLists[0];
        ASSERT_TRUE(glIsList(list));
        EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    }
    // Neither the scene's own Unload nor its Stop ran: the list and the lights are as they were.
    EXPECT_TRUE(glIsList(list));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    glDeleteLists(list, 1);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
}

TEST(SceneFour, ShortOrMissingCaveFilesAreNamedOnceAndTheRestStillDraws) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    struct Case {
        const char* tag;
        std::string bytes;
        bool write;
        int meshes[3];
    };
    const std::string third = EncodeFan(5);
    const Case cases[] = {
        {"cave-two", EncodeFan(3) + EncodeFan(4), true, {3, 0, 0}},
        {"cave-cut", EncodeFan(3) + EncodeFan(4) + third + EncodeFan(6).substr(0, 150), true, {3, 5, 0}},
        {"cave-header", EncodeFan(3).substr(0, 60), true, {0, 0, 0}},
        {"cave-hostile", [] {
             std::string bytes = EncodeFan(3);
             const std::int32_t huge = 0x7FFFFFFF;
             std::memcpy(&bytes[104], &huge, 4);
             return bytes;
         }(), true, {0, 0, 0}},
        {"cave-missing", "", false, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        std::string root = CaveFolder(c.tag, c.bytes);
        if (!c.write) std::remove((root + "/DANE/jaskinia.dat").c_str());
        platform::SetAssetRoot(root);
        SceneFour scene;
        std::string errors;
        EXPECT_EQ(LoadAndDraw(scene, errors), static_cast<GLenum>(GL_NO_ERROR));
        EXPECT_EQ(CountOccurrences(errors, "jaskinia.dat"), 1) << errors;
        for (int k = 0; k < 3; ++k) EXPECT_EQ(scene.caveMeshes[k].vertexCount, c.meshes[k]) << "mesh " << k;
        // The caustic pictures are missing too: each is named by the picture reader.
        EXPECT_EQ(CountOccurrences(errors, "Caust"), 32) << errors;
        scene.Unload();
        scene.Stop();
    }
}

// The section as the demo plays it, from the loading screen on, at 10 frames per second of the
// virtual clock: black at the start, half way out of the fade, then the lit cave with caustics,
// the sheet and the fountain at three later moments. The fade, the ripple timer and the
// animations last the whole run, so they are put back to their starting values first.
TEST(SceneFour, MatchesReferenceFrames) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    const std::string root = testing_support::TestAssetRoot();
    platform::SetAssetRoot(root);
    for (const char* name : {"DANE\\jaskinia.dat", "TEKSTURY\\jaskinia.bmp", "TEKSTURY\\WODA\\Caust31.BMP"})
        if (platform::ResolveAssetPath(name).empty()) GTEST_SKIP() << "the generated assets are not in " << root;

    struct Capture {
        int frame;   // scene frame n is drawn at demo time 87 + n × 0.1 s
        const char* name;
    };
    const Capture captures[] = {
        {0, "scene_four_87_0s"}, {10, "scene_four_88_0s"}, {60, "scene_four_93_0s"},
        {150, "scene_four_102_0s"}, {252, "scene_four_112_2s"},
    };

    ResetRunLongState();
    platform::SRand(1);
    platform::UseVirtualClock(0);
    ResetSceneClock();
    SceneFour scene;
    scene.SetTiming(87.0f, 112.3f, 0.0f, 0.0f);
    Demo demo;
    demo.AddScene(&scene);
    ASSERT_TRUE(demo.LoadAll());
    ASSERT_GT(scene.caveMeshes[0].triangleCount, 0);
    demo.clock = 87.0f;   // no scene before this one: start at its window

    // Frames between captures only advance the animations, drawn through a one-pixel scissor.
    glScissor(0, 0, 1, 1);
    int sceneFrame = -1;
    std::size_t next = 0;
    while (next < std::size(captures)) {
        if (sceneFrame + 1 == captures[next].frame)
            glDisable(GL_SCISSOR_TEST);
        else
            glEnable(GL_SCISSOR_TEST);
        ASSERT_TRUE(demo.Tick());
        ASSERT_EQ(demo.currentScene, &scene);
        ++sceneFrame;
        if (sceneFrame == captures[next].frame) {
            SCOPED_TRACE(captures[next].name);
            const std::vector<std::uint8_t> frame = testing_support::ReadFrame();
            const std::string mismatch = testing_support::CompareWithReference(captures[next].name, frame, 640, 480, 3.0);
            EXPECT_TRUE(mismatch.empty()) << mismatch;
            double sum = 0;
            for (std::uint8_t value : frame) sum += value;
            const double mean = sum / static_cast<double>(frame.size());
            if (sceneFrame == 0) {
                EXPECT_LT(mean, 2.0) << "the section opens from black";
            } else if (sceneFrame >= 60) {
                EXPECT_GT(mean, 25.0) << "the cave should be lit";
            }
            ++next;
        }
        if (sceneFrame == 22) {
            EXPECT_FALSE(scene.openingFade) << "gone after 2 s";
        }
        platform::AdvanceVirtualClock(100);
    }
    glDisable(GL_SCISSOR_TEST);
    scene.Unload();
    scene.Stop();
    platform::UseLiveClock();
}

// Drawn without fog where the fog does not reach yet, and with the nearer walls' caustics in the
// walls' own pass, the cave is the picture of the plain passes: within one level on all but a
// thousandth of the pixels and a quarter level on the mean, under the opening fade and later;
// without the combiner stages, leaving out the fog and the rocks' hidden back faces changes only
// a few pixels on the rocks' outlines, where a back face drawn first at the depth of the front
// face won the depth test.
TEST(SceneFour, SplitAtTheFogStartKeepsThePicture) {
    const std::vector<int> frames = {10, 60, 150, 252};
    const auto plain = PlaySceneFour(frames, false);
    if (plain.empty()) GTEST_SKIP() << "no GL context or no generated assets";
    const auto split = PlaySceneFour(frames, true);
    ASSERT_EQ(plain.size(), frames.size());
    ASSERT_EQ(split.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(frames[i]);
        double mean = 0;
        std::size_t far = 0;
        Difference(plain[i], split[i], mean, far);
        EXPECT_LE(far, plain[i].size() / 3 / 1000);
        EXPECT_LE(mean, 0.25);
    }
    const bool savedCombine = settings.useTextureEnvCombine;
    settings.useTextureEnvCombine = false;
    const auto unfogged = PlaySceneFour(frames, true);
    settings.useTextureEnvCombine = savedCombine;
    ASSERT_EQ(unfogged.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        std::size_t apart = 0;
        for (std::size_t k = 0; k < plain[i].size(); ++k) apart += unfogged[i][k] != plain[i][k];
        EXPECT_LE(apart, plain[i].size() / 20000) << "frame " << frames[i];
    }
}
