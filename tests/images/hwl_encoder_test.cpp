// The writer's stages on hand-worked cases: the forward transform, Quantise, ZeroSmallDetails and
// Symbolise. (The round trips hold what WriteImageFile makes of them to the reference decoder.)
#include <gtest/gtest.h>

#include "images/internal/hwl_quantiser.h"
#include "images/internal/hwl_symboliser.h"
#include "images/internal/hwl_wavelet.h"
#include "tests/images/codec_test_support.h"

namespace {

using Plane = std::vector<std::int32_t>;

Plane operator+(Plane first, const Plane& second) {
  return first.insert(first.end(), second.begin(), second.end()), first;
}

double Scaled(long double v) { return static_cast<double>(kHaarScale * v); }

TEST(HwlForwardWavelet, StepFormsSumsThenDifferencesRowsFirst) {
  const std::vector<double> input{1, 3, 5, 11};  // 2 × 2
  std::vector<double> out(4);
  ForwardWavelet(input.data(), out.data(), 2, 2, 2, 2, 0);
  // Each step sums and subtracts in extended precision and rounds once, its rows' results as stored.
  const long double s0 = Scaled(3.0L + 1), d0 = Scaled(1.0L - 3), s1 = Scaled(11.0L + 5), d1 = Scaled(5.0L - 11);
  EXPECT_EQ(out, (std::vector<double>{Scaled(s1 + s0), Scaled(d1 + d0), Scaled(s0 - s1), Scaled(d0 - d1)}));
}

TEST(HwlQuantise, LargestMagnitudeMapsToTheTopValueWithHalvesToEvenAndSmallDetailsAreZeroed) {
  // W = H = 4, lastLevel 0: the 12 coefficients outside the top-left 2 × 2 form the detail band.
  std::vector<double> plane(16, 0.5);
  plane[0] = plane[1] = plane[4] = plane[5] = 0.0;  // the approximation band: all zero
  plane[2] = -3.0, plane[3] = 1.5, plane[15] = -1.0;
  Plane quantised(16, 99);
  double scale[2] = {-1, -1};
  Quantise(plane.data(), quantised.data(), 4, 4, 0, 8, scale);
  EXPECT_EQ(scale[0], 85.0);  // 255 / 3
  EXPECT_EQ(scale[1], 0.0);   // an all-zero band
  EXPECT_EQ(quantised, (Plane{0, 0, -255, 128, 0, 0, 42, 42, 42, 42, 42, 42, 42, 42, 42, -85}));  // 127.5, 42.5 to even
  // Of the 12 details, -0.5 (at most the threshold) becomes 0, the 0 is not counted, the 2 stays; the
  // approximation is left alone.
  std::vector<double> small(16, 0.25);
  small[7] = -0.5, small[8] = 0.0, small[9] = 2.0;
  EXPECT_EQ(ZeroSmallDetails(small.data(), 0.5, 4, 4, 0), 10u);
  std::vector<double> expected(16, 0.0);
  expected[0] = expected[1] = expected[4] = expected[5] = 0.25, expected[9] = 2.0;
  EXPECT_EQ(small, expected);
}

TEST(HwlSymbolise, RunsFollowTheThresholdAndTheLongestRun) {
  const struct Row {
    const char* what;
    Plane plane;
    int bits;
    Bytes symbols, values;
  } rows[] = {
      {"longest runs, then the last zero alone", Plane(2049, 0), 8, {1, 3, 1, 3, 0}, {255, 255}},
      {"the last coefficient never joins a run", Plane(20, 0), 8, {1, 0, 0}, {18}},
      {"seven zeros stay single", Plane(7, 0) + Plane{5, 1}, 8, {0, 0, 0, 0, 0, 0, 0, 2, 2}, {5, 1}},
      {"nine zeros become a run", Plane(9, 0) + Plane{-5, 1}, 8, {1, 0, 3, 2}, {8, 5, 1}},
      // b = 2: runs of up to 16 zeros, and only more than (2 + 4) / 2 = 3 following zeros make one.
      {"two-bit values",
       Plane{-3} + Plane(29, 0) + Plane{2} + Plane(9, 0),
       2,
       {3, 1, 3, 1, 3, 2, 1, 1, 0},
       {3, 3, 0, 2, 3}},
      {"low bytes of large magnitudes", {300, -511}, 8, {2, 3}, {44, 255}},
  };
  for (const Row& row : rows) {
    Bytes symbols(row.plane.size()), values(row.plane.size());
    std::uint32_t symbolCount = 0, valueCount = 0;
    Symbolise(row.plane.data(), symbols, symbolCount, values, valueCount, std::uint32_t(row.plane.size()), 1, row.bits);
    EXPECT_EQ(Bytes(symbols.begin(), symbols.begin() + symbolCount), row.symbols) << row.what;
    EXPECT_EQ(Bytes(values.begin(), values.begin() + valueCount), row.values) << row.what;
  }
}

}  // namespace
