#include <gtest/gtest.h>

#include <random>

#include "platform/internal/sound_clock.h"

namespace {

PlaybackClock::Time At(double ms) {
  return PlaybackClock::Time{} + std::chrono::microseconds(static_cast<std::int64_t>(ms * 1000.0));
}

TEST(PlaybackClock, ReadsZeroBeforeStartAndRunsOnTheSteadyClockAfter) {
  PlaybackClock clock;
  EXPECT_EQ(clock.Read(At(500)), 0.0);
  clock.Observe(300, At(600));  // not playing yet: ignored
  clock.Start(At(1000));
  EXPECT_DOUBLE_EQ(clock.Read(At(1000)), 0.0);
  EXPECT_DOUBLE_EQ(clock.Read(At(1004.2)), 4.2);
  EXPECT_DOUBLE_EQ(clock.Read(At(3000)), 2000.0);
}

// An output that hears exactly the truth but reports it only every 23 ms, late by up to 3 ms, while
// the program reads at 240 Hz: every read is new, none goes back, and all stay on the truth.
TEST(PlaybackClock, JitteryReportsGiveASmoothMonotoneTimeThatStaysOnTheTruth) {
  PlaybackClock clock;
  clock.Start(At(0));
  std::mt19937 random(7);
  std::uniform_real_distribution<double> lateness(0.0, 3.0);
  double nextReport = 23.0;
  double previous = 0.0;
  for (double now = 1000.0 / 240.0; now < 10000.0; now += 1000.0 / 240.0) {
    for (; nextReport <= now; nextReport += 23.0) clock.Observe(nextReport, At(nextReport + lateness(random)));
    const double time = clock.Read(At(now));
    ASSERT_GT(time, previous) << now;
    ASSERT_LT(time - previous, 6.0) << now;
    ASSERT_NEAR(time, now, 8.0);
    previous = time;
  }
}

TEST(PlaybackClock, AStallHoldsTheTimeALeapCatchesUpAtOnceAndNoReadGoesBack) {
  PlaybackClock clock;
  clock.Start(At(0));
  const double early = clock.Read(At(50));
  clock.Observe(40, At(51));  // slower than the clock: the rate drops from here on
  EXPECT_GE(clock.Read(At(49)), early);

  // The sound stalls at 100 ms for 400 ms: the time may run ahead a little, then holds.
  for (double now = 100; now <= 500; now += 10) clock.Observe(100, At(now));
  const double held = clock.Read(At(500));
  EXPECT_LT(held, 260.0);
  EXPECT_GE(clock.Read(At(550)), held);
  EXPECT_LT(clock.Read(At(550)), 265.0);

  // Far ahead of the clock: it jumps there.
  clock.Observe(2000, At(600));
  EXPECT_NEAR(clock.Read(At(600)), 2000.0, 0.001);
  EXPECT_NEAR(clock.Read(At(700)), 2100.0, 0.001);
}

}  // namespace
