// Scene switching by the demo clock, and the end of the timeline.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo/demo.h"
#include "demo/texture_registry.h"
#include "platform/tick.h"
#include "scene/scene.h"

namespace {

// A scene that logs its transitions and frames into a shared journal.
class LoggingScene : public Scene {
public:
    LoggingScene(std::string name, std::vector<std::string>& journal) : name(std::move(name)), journal(journal) {}
    bool Load() override { return Log(Scene::Load(), "load"); }
    bool Start() override { return Log(Scene::Start(), "start"); }
    bool Stop() override { return Log(Scene::Stop(), "stop"); }
    bool Unload() override { return Log(Scene::Unload(), "unload"); }
    bool Frame() override {
        if (!started || !loaded) return false;
        journal.push_back(name + ":frame");
        return Scene::Frame();
    }
    void RegisterTextures(TextureRegistry& registry) override { registry.Add("TEKSTURY\\shared.bmp", &textures[0]); }

    std::string name;
    std::vector<std::string>& journal;

private:
    bool Log(bool changed, const char* what) {
        if (changed) journal.push_back(name + ":" + what);
        return changed;
    }
};

class DemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::UseVirtualClock(5000);
        ResetSceneClock();
        one.AllocateTextures(1);
        two.AllocateTextures(1);
        one.SetTiming(0.2f, 50.0f, 0.0f, 0.5f);
        two.SetTiming(50.0f, 87.0f, 1.0f, 1.0f);
        one.Load();
        two.Load();
        journal.clear();
    }
    void TearDown() override { platform::UseLiveClock(); }

    // Puts the demo clock at exactly `seconds` and ticks once without letting time pass, so the
    // instants at the window ends are hit exactly (summed frame steps would round past them).
    bool TickAt(float seconds) {
        demo.clock = seconds;
        return demo.Tick();
    }

    std::vector<std::string> journal;
    LoggingScene one{"one", journal};
    LoggingScene two{"two", journal};
    Demo demo;
};

}  // namespace

TEST_F(DemoTest, TouchingWindowsSwitchAfterTheSharedInstant) {
    demo.AddScene(&one);
    demo.AddScene(&two);
    EXPECT_FLOAT_EQ(demo.endTime, 87.0f);
    EXPECT_EQ(demo.registry.Count(), 1);   // a shared name is one entry

    EXPECT_TRUE(TickAt(0.0));   // first Tick adds nothing; no scene before 0.2
    EXPECT_EQ(demo.currentScene, nullptr);
    EXPECT_TRUE(TickAt(0.1));
    EXPECT_EQ(demo.currentScene, nullptr);
    EXPECT_TRUE(journal.empty());

    TickAt(0.2);
    EXPECT_EQ(demo.currentScene, &one);
    TickAt(50.0);
    EXPECT_EQ(demo.currentScene, &one);
    journal.clear();
    TickAt(50.02);
    EXPECT_EQ(demo.currentScene, &two);
    const std::vector<std::string> expected = {"one:unload", "one:stop", "two:start", "two:frame"};
    EXPECT_EQ(journal, expected);
}

TEST_F(DemoTest, EarlierSceneWinsAndStallsSkipWholeWindows) {
    LoggingScene late{"late", journal};
    late.AllocateTextures(1);
    late.SetTiming(100.0f, 200.0f, 0, 0);
    late.Load();
    two.SetTiming(0.0f, 87.0f, 0, 0);   // overlaps scene one completely
    demo.AddScene(&one);
    demo.AddScene(&two);
    demo.AddScene(&late);
    TickAt(0.0);
    EXPECT_EQ(demo.currentScene, &two);   // one starts at 0.2, two at 0
    TickAt(0.3);
    EXPECT_EQ(demo.currentScene, &two);   // still active: no switch back to the earlier scene
    journal.clear();
    platform::AdvanceVirtualClock(149700);   // a stall of almost 150 s between two frames
    demo.Tick();
    EXPECT_NEAR(demo.clock, 150.0f, 0.01f);
    EXPECT_EQ(demo.currentScene, &late);
    const std::vector<std::string> expected = {"two:unload", "two:stop", "late:start", "late:frame"};
    EXPECT_EQ(journal, expected);
    EXPECT_FALSE(one.started);
}

TEST_F(DemoTest, TimelineEndsJustAfterItsLastInstant) {
    LoggingScene last{"last", journal};
    last.AllocateTextures(1);
    last.SetTiming(112.3f, 200.0f, 0.0f, 30.0f);
    last.Load();
    demo.AddScene(&last);
    EXPECT_TRUE(TickAt(0.0));
    EXPECT_TRUE(TickAt(200.0));
    EXPECT_FALSE(TickAt(200.001f));

    Demo empty;
    EXPECT_FALSE(empty.Tick());
}

TEST_F(DemoTest, ClockAdvancesAcrossTheTickCounterWrap) {
    platform::UseVirtualClock(0xFFFFFFFFu - 5);
    demo.AddScene(&one);
    demo.Tick();
    platform::AdvanceVirtualClock(250);
    demo.Tick();
    EXPECT_NEAR(demo.clock, 0.25f, 1e-5);
}

// A thousand frames a second for the whole timeline: the clock is the milliseconds gone by,
// not a single-precision sum of steps, which would run half a second fast by the end.
TEST_F(DemoTest, ClockKeepsTimeAtAThousandFramesASecond) {
    platform::UseVirtualClock(0);
    demo.AddScene(&one);
    demo.Tick();
    for (int frame = 0; frame < 200000; ++frame) {
        platform::AdvanceVirtualClock(1.0);
        demo.Tick();
    }
    EXPECT_NEAR(demo.clock, 200.0f, 1e-4f);
}
