// Phase selection of timed objects and the transition flags and clock of scenes.
#include <gtest/gtest.h>

#include <string>

#include "platform/tick.h"
#include "scene/scene.h"
#include "scene/scene_object.h"

namespace {

// Records which phase ran last.
class PhaseProbe : public SceneObject {
public:
    bool Draw() override { phase += "draw;"; return true; }
    bool DrawFadeIn() override { phase += "in;"; return true; }
    bool DrawFadeOut() override { phase += "out;"; return true; }
    bool Advance(float step) override { lastStep = step; return true; }
    std::string Take() { std::string p = phase; phase.clear(); return p; }
    std::string phase;
    float lastStep = -1;
};

}  // namespace

TEST(SceneObject, PhasesAtTheEdgesOfTheWindow) {
    PhaseProbe object;
    object.SetTiming(0.2f, 50.0f, 0.0f, 0.5f);
    EXPECT_TRUE(object.Update(49.5f, 0.25f));
    EXPECT_EQ(object.Take(), "draw;");
    EXPECT_FLOAT_EQ(object.lastStep, 0.25f);
    object.Update(49.6f, 0);
    EXPECT_EQ(object.Take(), "out;");
    EXPECT_TRUE(object.Update(50.0f, 0));
    EXPECT_EQ(object.Take(), "out;");
    EXPECT_FALSE(object.Update(50.01f, 0));
    EXPECT_EQ(object.Take(), "");
    EXPECT_FALSE(object.Update(0.19f, 0));
    object.Update(0.2f, 0);   // fade-in of length 0 never occurs
    EXPECT_EQ(object.Take(), "draw;");

    object.SetTiming(50, 87, 1, 1);
    object.Update(50.0f, 0);
    EXPECT_EQ(object.Take(), "in;");
    object.Update(51.0f, 0);
    EXPECT_EQ(object.Take(), "draw;");
    object.Update(86.5f, 0);
    EXPECT_EQ(object.Take(), "out;");

    object.SetTiming(0, 1, 0.8f, 0.8f);   // overlapping phases: fade-in wins
    object.Update(0.5f, 0);
    EXPECT_EQ(object.Take(), "in;");
}

TEST(SceneObject, DisabledAndInvertedWindowsAreNeverActive) {
    PhaseProbe object;
    object.SetTiming(0, 10, 0, 0);
    object.Disable();
    EXPECT_FALSE(object.IsActive(5, 0));
    EXPECT_FALSE(object.Update(5, 0));
    EXPECT_EQ(object.Take(), "");
    object.Enable();
    EXPECT_TRUE(object.IsActive(0, 0));
    EXPECT_TRUE(object.IsActive(10, 0));
    object.SetTiming(1, -1, 0, 0);
    for (float t : {-1.0f, 0.0f, 1.0f}) EXPECT_FALSE(object.IsActive(t, 0));
}

namespace {

class CountingScene : public Scene {
public:
    bool Frame() override {
        if (!started || !loaded) return false;
        ++frames;
        return Scene::Frame();
    }
    int frames = 0;
};

}  // namespace

TEST(Scene, TransitionsHappenOnceAndFrameNeedsBothFlags) {
    platform::UseVirtualClock(1000);
    ResetSceneClock();
    CountingScene scene;
    EXPECT_TRUE(scene.Start());
    EXPECT_FALSE(scene.Frame());   // started, not loaded
    EXPECT_FLOAT_EQ(scene.localTime, 0.0f);
    EXPECT_TRUE(scene.Load());
    EXPECT_FALSE(scene.Load());
    EXPECT_FALSE(scene.Start());
    EXPECT_TRUE(scene.Frame());
    EXPECT_FLOAT_EQ(scene.frameTime, 0.0f);   // the program's first frame
    platform::AdvanceVirtualClock(40);
    EXPECT_TRUE(scene.Frame());
    EXPECT_NEAR(scene.frameTime, 0.040f, 1e-6);
    EXPECT_NEAR(scene.localTime, 0.040f, 1e-6);
    EXPECT_TRUE(scene.Unload());
    EXPECT_TRUE(scene.Stop());
    EXPECT_FALSE(scene.Unload());
    EXPECT_FALSE(scene.Stop());
    EXPECT_FALSE(scene.Frame());
    EXPECT_EQ(scene.frames, 2);
    platform::UseLiveClock();
}

TEST(Scene, ClockIsSharedAndSurvivesTheTickWrap) {
    platform::UseVirtualClock(0xFFFFFFFFu - 10);   // 10 ms before the counter wraps
    ResetSceneClock();
    CountingScene first, second;
    for (Scene* scene : {static_cast<Scene*>(&first), static_cast<Scene*>(&second)}) {
        scene->Load();
        scene->Start();
    }
    first.Frame();
    platform::AdvanceVirtualClock(30);   // wraps
    first.Frame();
    EXPECT_NEAR(first.frameTime, 0.030f, 1e-6);
    platform::AdvanceVirtualClock(20);
    second.Frame();   // measures from the other scene's last frame
    EXPECT_NEAR(second.frameTime, 0.020f, 1e-6);
    EXPECT_NEAR(second.localTime, 0.020f, 1e-6);
    platform::UseLiveClock();
}
