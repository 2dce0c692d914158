// The progress line of a recording.
#include <gtest/gtest.h>

#include "capture/recording_progress.h"

TEST(RecordingProgress, ProgressLineShowsTimeFramesSpeedAndWhatIsLeft) {
    // 600 frames at 60 fps (10 s of demo) in 20 s: half real time; 1200 frames left = 40 s.
    EXPECT_EQ(RecordingProgress::Line(600, 1800, 60, 10.0, 20.0),
              "recording: demo 10.0 s, 600/1800 frames, 0.50x real time, 0:40 left");
    EXPECT_EQ(RecordingProgress::Line(60, 0, 30, 2.0, 1.0), "recording: demo 2.0 s, 60 frames, 2.00x real time");
}
