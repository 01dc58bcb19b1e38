#include "platform/sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace {

std::vector<float> Sine(double frequency, double amplitude = 1.0) {
  std::vector<float> samples(kSpectrumWindow);
  for (std::int32_t n = 0; n < kSpectrumWindow; ++n) {
    samples[n] = static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * frequency * n / 44100.0));
  }
  return samples;
}

std::vector<float> SpectrumOf(const std::vector<float>& samples) {
  std::vector<float> magnitudes(kSpectrumBins, -1.0f);
  AnalyseSpectrum(samples.data(), magnitudes.data());
  return magnitudes;
}

std::int32_t PeakBin(const std::vector<float>& magnitudes) {
  return static_cast<std::int32_t>(std::max_element(magnitudes.begin(), magnitudes.end()) - magnitudes.begin());
}

TEST(SpectrumAnalysis, AFullScale1kHzSinePeaksInBin23AndNowhereElse) {
  const std::vector<float> magnitudes = SpectrumOf(Sine(1000.0));
  ASSERT_EQ(PeakBin(magnitudes), 23);
  EXPECT_GT(magnitudes[23], 0.8f);
  EXPECT_LT(magnitudes[23], 1.1f);
  for (std::int32_t k = 0; k < kSpectrumBins; ++k) {
    if (std::abs(k - 23) >= 6) {
      EXPECT_LT(magnitudes[k], 0.01f) << "bin " << k;
    }
  }
}

TEST(SpectrumAnalysis, ASineOnABinReadsItsAmplitude) {
  const double binHz = 44100.0 / kSpectrumWindow;
  EXPECT_NEAR(SpectrumOf(Sine(40 * binHz))[40], 1.0f, 0.001f);
  EXPECT_NEAR(SpectrumOf(Sine(300 * binHz, 0.25))[300], 0.25f, 0.001f);
}

TEST(SpectrumAnalysis, ValuesStayBetween0And1) {
  EXPECT_EQ(SpectrumOf(std::vector<float>(kSpectrumWindow, 0.0f)), std::vector<float>(kSpectrumBins, 0.0f));

  std::vector<float> square(kSpectrumWindow);
  for (std::int32_t n = 0; n < kSpectrumWindow; ++n) square[n] = (n / 22) % 2 ? 1.0f : -1.0f;
  std::vector<float> broken = Sine(1000.0);
  broken[500] = std::numeric_limits<float>::quiet_NaN();
  for (const auto& samples : {square, broken, std::vector<float>(kSpectrumWindow, 40.0f)}) {
    for (float value : SpectrumOf(samples)) {
      EXPECT_GE(value, 0.0f);
      EXPECT_LE(value, 1.0f);
    }
  }
  EXPECT_EQ(SpectrumOf(square)[PeakBin(SpectrumOf(square))], 1.0f);  // 4/pi of a full-scale square, cut
}

}  // namespace
