// Where a later start begins, and how many frames a whole recording has.
#include <gtest/gtest.h>

#include "capture/run_control.h"

TEST(RunControl, StartFrameAndTimelineLength) {
    EXPECT_EQ(StartFrame(0, 60), 0);
    EXPECT_EQ(StartFrame(52.5, 2), 105);
    EXPECT_EQ(StartFrame(130, 60), 7800);
    EXPECT_EQ(StartFrame(0.01, 60), 1);      // the first frame at or after the time
    EXPECT_EQ(StartFrame(1.0 / 3.0, 3), 1);  // no rounding up past an exact frame
    EXPECT_EQ(TimelineFrames(200, 60), 12000);
    EXPECT_EQ(TimelineFrames(200, 2), 400);
}
