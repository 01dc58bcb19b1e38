// The sound layer's arithmetic: the spectrum of 1024 samples (where a sine peaks, what it reads there,
// the clamp to 0 and 1), the resampler that brings music of any rate to the device's, and the playing
// time the program reads, smoothed on the steady clock from the output's reports and never going back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "platform/internal/sound_clock.h"
#include "platform/internal/sound_resampler.h"
#include "platform/sound.h"

namespace {

std::vector<float> SpectrumOf(const std::vector<float>& samples) {
  std::vector<float> magnitudes(kSpectrumBins, -1.0f);
  AnalyseSpectrum(samples.data(), magnitudes.data());
  return magnitudes;
}

std::vector<float> Sine(double hz, double amplitude) {
  std::vector<float> samples(kSpectrumWindow);
  const double step = 2 * std::numbers::pi * hz / 44100;
  for (int n = 0; n < kSpectrumWindow; ++n) samples[n] = float(amplitude * std::sin(step * n));
  return samples;
}

// Bin k is k × 44100 / 1024 Hz; a sine on a bin reads its amplitude there, one between two bins a
// little less, and six bins away everything is under 0.01. Values are clamped to 0 and 1; a NaN gives 0.
TEST(SpectrumAnalysis, ASinePeaksInItsBinAndReadsItsAmplitudeThereAndValuesStayIn0To1) {
  const struct { double hz, amplitude; int bin; float low, high; } rows[] = {
      {1000.0, 1.0, 23, 0.8f, 1.0f}, {40 * 44100.0 / 1024, 1.0, 40, 0.999f, 1.0f},
      {300 * 44100.0 / 1024, 0.25, 300, 0.249f, 0.251f}};
  for (const auto& row : rows) {
    const std::vector<float> magnitudes = SpectrumOf(Sine(row.hz, row.amplitude));
    ASSERT_EQ(std::max_element(magnitudes.begin(), magnitudes.end()) - magnitudes.begin(), row.bin) << row.hz;
    EXPECT_TRUE(magnitudes[row.bin] >= row.low && magnitudes[row.bin] <= row.high) << row.hz;
    for (int k = 0; k < kSpectrumBins; ++k) ASSERT_TRUE(std::abs(k - row.bin) < 6 || magnitudes[k] < 0.01f) << k;
  }
  std::vector<float> square(kSpectrumWindow);
  for (int n = 0; n < kSpectrumWindow; ++n) square[n] = (n / 22) % 2 ? 1.0f : -1.0f;
  const std::vector<float> squareSpectrum = SpectrumOf(square);
  EXPECT_EQ(*std::max_element(squareSpectrum.begin(), squareSpectrum.end()), 1.0f);  // 4/pi, cut
  std::vector<float> broken = Sine(1000.0, 1.0);
  broken[500] = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(SpectrumOf(broken), std::vector<float>(kSpectrumBins, 0.0f));
  EXPECT_EQ(SpectrumOf(std::vector<float>(kSpectrumWindow, 0.0f)), std::vector<float>(kSpectrumBins, 0.0f));
}

// A stereo ramp (left: the frame number, right: its negation): output frame n lies on it at input
// frame n × from / to, and blocks of 1 to 37 frames give what one whole block gives.
TEST(StereoResampler, InterpolatesOnTheRateRatioWhateverTheBlocks) {
  std::vector<float> input;
  for (int i = 0; i < 1000; ++i) input.insert(input.end(), {float(i), -float(i)});
  for (const auto& [from, to] : {std::pair{22050, 44100}, std::pair{48000, 44100}, std::pair{8000, 44100}}) {
    StereoResampler whole(from, to), pieces(from, to);
    std::vector<float> expected, output;
    whole.Convert(input.data(), 1000, expected);
    for (std::size_t at = 0, size = 1; at < 1000; at += size, size = size % 37 + 1) {
      pieces.Convert(input.data() + 2 * at, std::min<std::size_t>(size, 1000 - at), output);
    }
    ASSERT_EQ(output.size(), expected.size()) << from;
    EXPECT_NEAR(double(output.size() / 2), 999.0 * to / from, 1.0) << from;
    for (std::size_t n = 0; n < output.size() / 2; ++n) {
      ASSERT_NEAR(output[2 * n], double(n) * from / to, 1e-3) << from << ", frame " << n;
      ASSERT_TRUE(output[2 * n + 1] == -output[2 * n] && std::abs(expected[2 * n] - output[2 * n]) < 1e-3) << n;
    }
  }
}

PlaybackClock::Time At(double ms) {
  return PlaybackClock::Time{} + std::chrono::microseconds(static_cast<std::int64_t>(ms * 1000.0));
}

// Zero before the start (reports then are ignored), then the steady clock; a report slower than the
// clock lowers the rate but no read goes back; a stall holds the time, a leap is caught up at once.
TEST(PlaybackClock, RunsOnTheSteadyClockHoldsAStallAndCatchesUpALeap) {
  PlaybackClock clock;
  EXPECT_EQ(clock.Read(At(500)), 0.0);
  clock.Observe(300, At(600));
  clock.Start(At(1000));
  EXPECT_DOUBLE_EQ(clock.Read(At(1000)), 0.0);
  EXPECT_DOUBLE_EQ(clock.Read(At(1004.2)), 4.2);
  const double early = clock.Read(At(1050));
  clock.Observe(40, At(1051));
  EXPECT_GE(clock.Read(At(1049)), early);
  for (double now = 1100; now <= 1500; now += 10) clock.Observe(100, At(now));  // stalled at 100 ms
  const double held = clock.Read(At(1500));
  EXPECT_TRUE(held < 260.0 && clock.Read(At(1550)) >= held && clock.Read(At(1550)) < 265.0) << held;
  clock.Observe(2000, At(1600));
  EXPECT_NEAR(clock.Read(At(1600)), 2000.0, 0.001);
  EXPECT_NEAR(clock.Read(At(1700)), 2100.0, 0.001);
}

// An output that hears exactly the truth but reports it only every 23 ms, late by up to 3 ms, while
// the program reads at 240 Hz: every read is new, none goes back, and all stay on the truth.
TEST(PlaybackClock, JitteryReportsGiveASmoothMonotoneTimeThatStaysOnTheTruth) {
  PlaybackClock clock;
  clock.Start(At(0));
  std::mt19937 random(7);
  std::uniform_real_distribution<double> lateness(0.0, 3.0);
  double nextReport = 23.0, previous = 0.0;
  for (double now = 1000.0 / 240.0; now < 10000.0; now += 1000.0 / 240.0) {
    for (; nextReport <= now; nextReport += 23.0) clock.Observe(nextReport, At(nextReport + lateness(random)));
    const double time = clock.Read(At(now));
    ASSERT_TRUE(time > previous && time - previous < 6.0) << now;
    ASSERT_NEAR(time, now, 8.0);
    previous = time;
  }
}

}  // namespace
