#include "midi/SendPacer.h"

#include <gtest/gtest.h>

namespace midi {
namespace {

using namespace std::chrono_literals;

TEST(SendPacerTest, BurstGoesAtOnceThenTheAverageRateHolds) {
    SendPacer pacer(1000.0, 500);  // 1000 bytes per second, 500 at once
    const auto start = SendPacer::Clock::time_point{} + 10s;
    EXPECT_EQ(pacer.Reserve(300, start), 0ns);
    EXPECT_EQ(pacer.Reserve(200, start), 0ns);
    // 500 bytes reserved: the next 100 wait until the backlog is back down to the burst.
    EXPECT_EQ(pacer.Reserve(100, start), 0ns);
    EXPECT_EQ(pacer.Reserve(100, start), 100ms);
    // After a quiet second the burst is available again, but no more than that.
    const auto later = start + 2s;
    EXPECT_EQ(pacer.Reserve(500, later), 0ns);
    EXPECT_EQ(pacer.Reserve(250, later), 0ns);
    EXPECT_EQ(pacer.Reserve(1, later), 250ms);
}

}  // namespace
}  // namespace midi
