#include "platform/internal/sound_clock.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Time = PlaybackClock::Time;
using std::chrono::microseconds;

Time At(double ms) { return Time{} + microseconds(static_cast<std::int64_t>(ms * 1000.0)); }

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
// the program reads at 240 Hz.
TEST(PlaybackClock, JitteryReportsGiveASmoothMonotoneTimeThatStaysOnTheTruth) {
  PlaybackClock clock;
  clock.Start(At(0));
  std::mt19937 random(7);
  std::uniform_real_distribution<double> lateness(0.0, 3.0);
  double nextReport = 23.0;
  double previous = 0.0;
  double largestStep = 0.0;
  for (double now = 1000.0 / 240.0; now < 10000.0; now += 1000.0 / 240.0) {
    while (nextReport <= now) {
      const double late = lateness(random);
      clock.Observe(nextReport, At(nextReport + late));
      nextReport += 23.0;
    }
    const double time = clock.Read(At(now));
    ASSERT_GE(time, previous) << now;
    largestStep = std::max(largestStep, time - previous);
    EXPECT_GT(time - previous, 0.0) << "a 240 Hz frame saw no new time at " << now;
    EXPECT_NEAR(time, now, 8.0);
    previous = time;
  }
  EXPECT_LT(largestStep, 6.0);
}

TEST(PlaybackClock, AStallHoldsTheTimeAndALeapCatchesUpAtOnce) {
  PlaybackClock clock;
  clock.Start(At(0));
  clock.Observe(100, At(100));
  // The sound stalls at 100 ms for 400 ms: the time may run ahead a little, then holds.
  for (double now = 110; now <= 500; now += 10) clock.Observe(100, At(now));
  const double held = clock.Read(At(500));
  EXPECT_LT(held, 260.0);
  EXPECT_GE(clock.Read(At(550)), held);
  EXPECT_LT(clock.Read(At(550)), 265.0);

  // Far ahead of the clock: it jumps there.
  clock.Observe(2000, At(600));
  EXPECT_NEAR(clock.Read(At(600)), 2000.0, 0.001);
  EXPECT_NEAR(clock.Read(At(700)), 2100.0, 0.001);
}

TEST(PlaybackClock, AReadBeforeTheLatestReportNeverGoesBack) {
  PlaybackClock clock;
  clock.Start(At(0));
  const double late = clock.Read(At(50));
  clock.Observe(40, At(51));  // slower than the clock: the rate drops from here on
  EXPECT_GE(clock.Read(At(49)), late);
}

}  // namespace
