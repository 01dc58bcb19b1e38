// Colour conversion and the sample-to-byte step.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "images/internal/hwl_colour.h"
#include "tests/images/codec_test_support.h"

namespace {

TEST(HwlColour, SampleToByteRoundsHalvesToEvenAndSaturates) {
  const double samples[] = {-3.2, 0.0, 0.4, 0.5, 1.5, 127.5, 254.5, 254.9, 255.0, 300.0};
  const int bytes[] = {0, 0, 0, 0, 2, 128, 254, 255, 255, 255};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(SampleToByte(samples[i]), bytes[i]) << samples[i];
  EXPECT_EQ(SampleToByte(-0.0), 0);
  EXPECT_EQ(SampleToByte(2.5), 2);
  EXPECT_EQ(SampleToByte(254.6), 255);
  EXPECT_EQ(SampleToByte(std::numeric_limits<double>::quiet_NaN()), 255);
  EXPECT_EQ(SampleToByte(-std::numeric_limits<double>::infinity()), 0);
  EXPECT_EQ(SampleToByte(std::numeric_limits<double>::infinity()), 255);
}

TEST(HwlColour, GreyYuvGivesGreyPixelsWithAlphaZero) {
  const RgbSample rgb = YuvSampleToRgb(100.0, 0.0, 0.0);
  EXPECT_EQ(rgb.r, 100.0);
  EXPECT_EQ(rgb.b, 100.0);
  EXPECT_NEAR(rgb.g, 99.999985, 1e-9);
  EXPECT_EQ(rgb.g, static_cast<double>(1.694915L * ((100.0L - 0.3L * 100.0) - 0.11L * 100.0)));
  std::uint8_t pixel[4] = {9, 9, 9, 9};
  StorePixels(&rgb.r, &rgb.g, &rgb.b, 1, pixel);
  EXPECT_EQ(pixel[0], 100);
  EXPECT_EQ(pixel[1], 100);
  EXPECT_EQ(pixel[2], 100);
  EXPECT_EQ(pixel[3], 0);
}

TEST(HwlColour, ConversionUsesTheRoundedRedAndBlue) {
  const double y = 87.3, u = -12.7, v = 33.1;
  const RgbSample rgb = YuvSampleToRgb(y, u, v);
  const double r = static_cast<double>(y + 1.140251L * v);
  const double b = static_cast<double>(y + 2.028398L * u);
  EXPECT_EQ(rgb.r, r);
  EXPECT_EQ(rgb.b, b);
  EXPECT_EQ(rgb.g, static_cast<double>(1.694915L * ((y - 0.3L * r) - 0.11L * b)));
}

TEST(HwlColour, FusedStoreMatchesConversionThenStore) {
  // The loader converts and stores in one pass; it must give the bytes of the two separate steps.
  std::vector<double> y{10, 200, 128, 255}, u{0, -30, 12.5, 40}, v{-20, 15, 0.25, 90};
  std::vector<std::uint8_t> fused(16, 7);
  StoreYuvPixels(y.data(), u.data(), v.data(), 4, fused.data());
  std::vector<std::uint8_t> separate(16, 9);
  for (int i = 0; i < 4; ++i) {
    const RgbSample rgb = YuvSampleToRgb(y[i], u[i], v[i]);
    StorePixels(&rgb.r, &rgb.g, &rgb.b, 1, separate.data() + 4 * i);
  }
  EXPECT_EQ(fused, separate);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(fused[4 * i + 3], 0);
}

// With the AVX2 loops allowed and without them: both must give the same bytes.
class HwlFusedStore : public OnBothDecoderPaths {};

TEST_P(HwlFusedStore, IsExactNearRoundingBoundaries) {
  // Random samples, and samples whose red, blue or green lands on or next to a half-integer, where a
  // shortcut through binary64 arithmetic would pick the wrong neighbour. An odd count leaves a tail
  // for the narrower loops.
  std::mt19937 random(5);
  std::uniform_real_distribution<double> luma(-40.0, 300.0), chroma(-120.0, 120.0);
  std::vector<double> y, u, v;
  for (int i = 0; i < 20000; ++i) {
    y.push_back(luma(random));
    u.push_back(chroma(random));
    v.push_back(chroma(random));
  }
  // Samples that only the exact path may convert, inside the groups of the wider loops too.
  const double kUnusual[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), -0.0, 1e5, -1e5, 9999.5};
  for (double unusual : kUnusual) {
    for (int lane = 0; lane < 3; ++lane) {
      y.push_back(lane == 0 ? unusual : 100.0);
      u.push_back(lane == 1 ? unusual : 2.0);
      v.push_back(lane == 2 ? unusual : -3.0);
    }
  }
  for (double half = 0.5; half < 255.0; half += 1.0) {
    for (double nudge : {0.0, 1e-13, -1e-13, 1e-9, -1e-9}) {
      y.push_back(half + nudge);
      u.push_back(0.0);
      v.push_back(0.0);
      y.push_back(50.0);
      u.push_back(0.0);
      v.push_back((half + nudge - 50.0) / 1.140251);
    }
  }
  y.push_back(std::numeric_limits<double>::quiet_NaN());
  u.push_back(1.0);
  v.push_back(std::numeric_limits<double>::infinity());
  std::vector<std::uint8_t> fused(4 * y.size());
  StoreYuvPixels(y.data(), u.data(), v.data(), y.size(), fused.data());
  for (std::size_t i = 0; i < y.size(); ++i) {
    const RgbSample rgb = YuvSampleToRgb(y[i], u[i], v[i]);
    ASSERT_EQ(fused[4 * i], SampleToByte(rgb.b)) << i;
    ASSERT_EQ(fused[4 * i + 1], SampleToByte(rgb.g)) << i;
    ASSERT_EQ(fused[4 * i + 2], SampleToByte(rgb.r)) << i;
    ASSERT_EQ(fused[4 * i + 3], 0) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, HwlFusedStore, testing::Bool(), DecoderPathName);

TEST(HwlColour, GreyStoreWritesOneBytePerSample) {
  const double samples[3] = {1.5, 300.0, -1.0};
  std::uint8_t bytes[4] = {9, 9, 9, 9};
  StorePixels(samples, 3, bytes);
  EXPECT_EQ(bytes[0], 2);
  EXPECT_EQ(bytes[1], 255);
  EXPECT_EQ(bytes[2], 0);
  EXPECT_EQ(bytes[3], 9);
}

}  // namespace
