// The virtual clock that stands in for the millisecond counter.
#include <gtest/gtest.h>

#include "platform/tick.h"

TEST(Tick, VirtualClockKeepsFractionsAndWraps) {
    platform::UseVirtualClock(0);
    for (int i = 0; i < 3; ++i) platform::AdvanceVirtualClock(1000.0 / 60.0);
    EXPECT_EQ(platform::GetTickCount(), 50u);   // 3 × 16.67 ms, not 3 × 16
    platform::UseVirtualClock(0xFFFFFFFFu);
    platform::AdvanceVirtualClock(2);
    EXPECT_EQ(platform::GetTickCount(), 1u);
    EXPECT_TRUE(platform::IsVirtualClock());
    platform::UseLiveClock();
    EXPECT_FALSE(platform::IsVirtualClock());
}

TEST(Tick, LiveClockCarriesOnFromTheVirtualOne) {
    platform::UseVirtualClock(0);
    platform::AdvanceVirtualClock(130000.0);
    const std::uint32_t reached = platform::GetTickCount();
    platform::UseLiveClockFrom(reached);
    EXPECT_FALSE(platform::IsVirtualClock());
    const std::uint32_t now = platform::GetTickCount();
    EXPECT_LT(now - reached, 1000u) << "the live clock jumped";
    platform::UseLiveClock();
}
