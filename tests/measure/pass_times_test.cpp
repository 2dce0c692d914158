// Per-pass timing: passes booked under the section named at the end of the frame.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "measure/pass_times.h"
#include "support/gl_test_context.h"

TEST(PassTimes, BooksEachFramesPassesUnderItsSection) {
    if (!testing_support::OpenGLTestContext()) GTEST_SKIP() << "no GL context";
    pass_times::Enable(false);
    pass_times::BeginFrame();
    pass_times::Mark("ignored");
    pass_times::EndFrame("scene one", "rest");
    EXPECT_EQ(pass_times::Summary(), "");

    pass_times::Enable(true);
    for (int frame = 0; frame < 3; ++frame) {
        pass_times::BeginFrame();
        pass_times::Mark("background");
        if (frame == 1) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            pass_times::Mark("slow pass");
        }
        pass_times::EndFrame(frame < 2 ? "scene one" : "scene two", "rest");
    }
    // Marks made before a frame begins belong to no frame.
    pass_times::Mark("stray");
    pass_times::BeginFrame();
    pass_times::EndFrame("scene two", "rest");

    const std::string text = pass_times::Summary();
    EXPECT_NE(text.find("scene one background 2 "), std::string::npos) << text;
    EXPECT_NE(text.find("scene one rest 2 "), std::string::npos) << text;
    EXPECT_NE(text.find("scene two background 1 "), std::string::npos) << text;
    EXPECT_NE(text.find("scene two rest 2 "), std::string::npos) << text;
    EXPECT_EQ(text.find("stray"), std::string::npos) << text;
    // The slow pass ran in one frame only, and its time is at least the sleep.
    const std::size_t slow = text.find("scene one slow pass 1 ");
    ASSERT_NE(slow, std::string::npos) << text;
    EXPECT_GE(std::stod(text.substr(slow + std::string("scene one slow pass 1 ").size())), 19.0);
    // Scene one's passes come before scene two's: sections keep their first-seen order.
    EXPECT_LT(text.find("scene one"), text.find("scene two"));
    pass_times::Enable(false);
}
