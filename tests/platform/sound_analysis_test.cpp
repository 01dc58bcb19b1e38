#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "platform/sound.h"

namespace {

std::vector<float> SpectrumOf(const std::vector<float>& samples) {
  std::vector<float> magnitudes(kSpectrumBins, -1.0f);
  AnalyseSpectrum(samples.data(), magnitudes.data());
  return magnitudes;
}

std::vector<float> Sine(double hz, double amplitude) {
  std::vector<float> samples(kSpectrumWindow);
  for (int n = 0; n < kSpectrumWindow; ++n) samples[n] = float(amplitude * std::sin(2 * std::numbers::pi * hz * n / 44100));
  return samples;
}

// Bin k is k × 44100 / 1024 Hz; a sine on a bin reads its amplitude there, one between two bins a
// little less, and six bins away everything is under 0.01.
TEST(SpectrumAnalysis, ASinePeaksInItsBinAndReadsItsAmplitudeThere) {
  const struct { double hz, amplitude; int bin; float low, high; } rows[] = {
      {1000.0, 1.0, 23, 0.8f, 1.0f},
      {40 * 44100.0 / 1024, 1.0, 40, 0.999f, 1.0f},
      {300 * 44100.0 / 1024, 0.25, 300, 0.249f, 0.251f},
  };
  for (const auto& row : rows) {
    const std::vector<float> magnitudes = SpectrumOf(Sine(row.hz, row.amplitude));
    ASSERT_EQ(std::max_element(magnitudes.begin(), magnitudes.end()) - magnitudes.begin(), row.bin) << row.hz;
    EXPECT_GE(magnitudes[row.bin], row.low) << row.hz;
    EXPECT_LE(magnitudes[row.bin], row.high) << row.hz;
    for (int k = 0; k < kSpectrumBins; ++k) {
      if (std::abs(k - row.bin) >= 6) {
        ASSERT_LT(magnitudes[k], 0.01f) << row.hz << " Hz, bin " << k;
      }
    }
  }
}

TEST(SpectrumAnalysis, ValuesAreClampedTo0And1AndANaNGives0) {
  std::vector<float> square(kSpectrumWindow);
  for (int n = 0; n < kSpectrumWindow; ++n) square[n] = (n / 22) % 2 ? 1.0f : -1.0f;
  const std::vector<float> squareSpectrum = SpectrumOf(square);
  EXPECT_EQ(*std::max_element(squareSpectrum.begin(), squareSpectrum.end()), 1.0f);  // 4/pi, cut
  std::vector<float> broken = Sine(1000.0, 1.0);
  broken[500] = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(SpectrumOf(broken), std::vector<float>(kSpectrumBins, 0.0f));
  EXPECT_EQ(SpectrumOf(std::vector<float>(kSpectrumWindow, 0.0f)), std::vector<float>(kSpectrumBins, 0.0f));
}

}  // namespace
