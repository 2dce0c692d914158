// The program-wide generator must give the classic C runtime sequence.
#include <gtest/gtest.h>

#include "platform/random.h"

TEST(Random, MatchesTheClassicSequenceFromBothSeeds) {
    platform::SRand(1);
    EXPECT_EQ(platform::Rand(), 41);
    EXPECT_EQ(platform::Rand(), 18467);
    EXPECT_EQ(platform::Rand(), 6334);
    EXPECT_EQ(platform::Rand(), 26500);
    platform::SRand(264);
    const int first = platform::Rand();
    // 264 × 214013 + 2531011 = 59030443; bits 16..30 of it.
    EXPECT_EQ(first, static_cast<int>((59030443u >> 16) & 0x7FFF));
    for (int i = 0; i < 1000; ++i) {
        const int value = platform::Rand();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, platform::kRandMax);
    }
}
