// The frame-rate figures: measurement windows and stalls.
#include <gtest/gtest.h>

#include "app/frame_stats.h"

TEST(FrameStats, MeasurementWindowsAndStalls) {
    FrameStats stats;
    EXPECT_EQ(stats.Text(), "0.00 FPS; Average Frame Rate : [0.00]; Min. FPS : [9999.00]");
    // Exactly 60 frames in the first second: the first opens the window, the 60th closes it.
    for (int i = 0; i < 60; ++i) stats.CountFrame(100.0f + static_cast<float>(i) / 59.0f);
    EXPECT_NEAR(stats.currentFps, 60.0f, 0.01f);
    EXPECT_NEAR(stats.Average(), 60.0f, 0.01f);
    EXPECT_NEAR(stats.minFps, 60.0f, 0.01f);
    stats.CountFrame(103.5f);   // a stall of 2.5 s closes one window with one frame
    EXPECT_NEAR(stats.currentFps, 1.0f / 2.5f, 1e-3f);
    EXPECT_NEAR(stats.minFps, 0.4f, 1e-3f);
    EXPECT_NEAR(stats.Average(), 61.0f / 3.5f, 0.01f);
    EXPECT_LE(stats.Text().size(), 79u);
}

// Weeks after boot the tick count is in the billions, where a float of seconds since boot
// steps by a quarter second; the line still counts 16 ms frames as about 62.5 a second,
// across the counter's wrap too.
TEST(FrameStats, CountsFromTheTickOfItsFirstFrame) {
    FrameStats stats;
    const std::uint32_t start = 0xFFFFFFFFu - 500u;
    for (std::uint32_t i = 0; i <= 126; ++i) stats.CountFrameAtTick(start + 16u * i);
    // Each window closes on its first frame past the second, so it holds one frame more.
    EXPECT_NEAR(stats.currentFps, 62.5f, 1.0f);
    EXPECT_NEAR(stats.Average(), 62.5f, 1.0f);
}
