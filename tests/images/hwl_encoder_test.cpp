// The writer's stages on hand-worked cases: the forward transform, Quantise, ZeroSmallDetails,
// Symbolise and WriteImageFile.
#include <gtest/gtest.h>

#include "images/internal/hwl_quantiser.h"
#include "images/internal/hwl_symboliser.h"
#include "images/internal/hwl_wavelet.h"
#include "tests/images/codec_test_support.h"

namespace {

using Plane = std::vector<std::int32_t>;

Plane operator+(Plane first, const Plane& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

double Scaled(long double v) { return static_cast<double>(kHaarScale * v); }

TEST(HwlForwardWavelet, StepFormsSumsThenDifferencesRowsFirst) {
  const std::vector<double> input{1, 3, 5, 11};  // 2 × 2
  std::vector<double> out(4);
  ForwardWavelet(input.data(), out.data(), 2, 2, 2, 2, 0);
  const double rowSum0 = Scaled(3.0L + 1), rowDifference0 = Scaled(1.0L - 3);
  const double rowSum1 = Scaled(11.0L + 5), rowDifference1 = Scaled(5.0L - 11);
  EXPECT_EQ(out[0], Scaled(static_cast<long double>(rowSum1) + rowSum0));
  EXPECT_EQ(out[1], Scaled(static_cast<long double>(rowDifference1) + rowDifference0));
  EXPECT_EQ(out[2], Scaled(static_cast<long double>(rowSum0) - rowSum1));
  EXPECT_EQ(out[3], Scaled(static_cast<long double>(rowDifference0) - rowDifference1));
}

TEST(HwlQuantise, LargestMagnitudeMapsToTheTopValueWithHalvesToEven) {
  // W = H = 4, lastLevel 0: the 12 coefficients outside the top-left 2 × 2 form the detail band.
  std::vector<double> plane(16, 0.5);
  plane[0] = plane[1] = plane[4] = plane[5] = 0.0;  // the approximation band: all zero
  plane[2] = -3.0;
  plane[3] = 1.5;
  plane[15] = -1.0;
  Plane quantised(16, 99);
  double scale[2] = {-1, -1};
  Quantise(plane.data(), quantised.data(), 4, 4, 0, 8, scale);
  EXPECT_EQ(scale[0], 85.0);  // 255 / 3
  EXPECT_EQ(scale[1], 0.0);   // an all-zero band
  EXPECT_EQ(quantised, (Plane{0, 0, -255, 128, 0, 0, 42, 42, 42, 42, 42, 42, 42, 42, 42, -85}));  // 127.5, 42.5 to even
}

TEST(HwlQuantise, SmallDetailsAreZeroedOutsideTheApproximation) {
  std::vector<double> plane(16, 0.25);
  plane[7] = -0.5;
  plane[8] = 0.0;
  plane[9] = 2.0;
  // Level 0 of a 4 × 4 plane keeps the top-left 2 × 2 block: 12 details, less the 0 and the 2.
  EXPECT_EQ(ZeroSmallDetails(plane.data(), 0.5, 4, 4, 0), 10u);
  std::vector<double> expected(16, 0.0);
  expected[0] = expected[1] = expected[4] = expected[5] = 0.25;
  expected[9] = 2.0;
  EXPECT_EQ(plane, expected);
}

TEST(HwlSymbolise, RunsFollowTheThresholdAndTheLongestRun) {
  struct Row {
    const char* what;
    Plane plane;
    int bits;
    Bytes symbols, values;
  };
  auto zerosThen = [](std::size_t zeros, Plane rest) {
    rest.insert(rest.begin(), zeros, 0);
    return rest;
  };
  const Row rows[] = {
      {"longest runs, then the last zero alone", Plane(2049, 0), 8, {1, 3, 1, 3, 0}, {255, 255}},
      {"the last coefficient never joins a run", Plane(20, 0), 8, {1, 0, 0}, {18}},
      {"seven zeros stay single", zerosThen(7, {5, 1}), 8, {0, 0, 0, 0, 0, 0, 0, 2, 2}, {5, 1}},
      {"nine zeros become a run", zerosThen(9, {-5, 1}), 8, {1, 0, 3, 2}, {8, 5, 1}},
      // b = 2: runs of up to 16 zeros, and only more than (2 + 4) / 2 = 3 following zeros make one.
      {"two-bit values", zerosThen(0, {-3}) + zerosThen(29, {2}) + Plane(9, 0), 2, {3, 1, 3, 1, 3, 2, 1, 1, 0},
       {3, 3, 0, 2, 3}},
      {"low bytes of large magnitudes", {300, -511}, 8, {2, 3}, {44, 255}},
  };
  for (const Row& row : rows) {
    Bytes symbols(row.plane.size()), values(row.plane.size());
    std::uint32_t symbolCount = 0, valueCount = 0;
    Symbolise(row.plane.data(), symbols, symbolCount, values, valueCount, static_cast<std::uint32_t>(row.plane.size()),
              1, row.bits);
    symbols.resize(symbolCount);
    values.resize(valueCount);
    EXPECT_EQ(symbols, row.symbols) << row.what;
    EXPECT_EQ(values, row.values) << row.what;
  }
}

TEST(HwlWriteImageFile, ColourHeaderCarriesAllThreeCountsAndGreyZerosTheUnused) {
  Plane planes[3] = {Plane(64, 0), Plane(64, 0), Plane(64, 0)};
  for (int i = 0; i < 64; i += 3) planes[0][i] = i % 5 + 1;
  for (int i = 0; i < 64; i += 7) planes[1][i] = -(i % 4 + 1);
  planes[2][63] = 1;
  const double scales[3][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  const Bytes colour = WrittenBytes({planes[0].data(), planes[1].data(), planes[2].data()}, 8, 8, 24, 1,
                                    {scales[0], scales[1], scales[2]}, {8, 5, 3});
  const ImageHeader header = HeaderOf(colour);
  EXPECT_EQ(header.signature, (std::array<std::uint8_t, 3>{'H', 'W', 'L'}));
  // Channel 1: ten coefficients with runs of six zeros between them (k = 5 > (5 + 4) / 2); channel 2:
  // 63 zeros as runs of 32 and 31, then the last coefficient.
  EXPECT_EQ(header.symbolCount, (std::array<std::uint32_t, 3>{64, 28, 5}));
  EXPECT_EQ(header.valueCount, (std::array<std::uint32_t, 3>{22, 19, 3}));
  EXPECT_EQ(header.valueBits, (std::array<std::uint8_t, 3>{8, 5, 3}));
  EXPECT_EQ(colour.size(), ExpectedFileSize(header));

  const Bytes grey = WrittenBytes({planes[0].data(), nullptr, nullptr}, 8, 8, 8, 0, {scales[0], nullptr, nullptr},
                                  {6, 7, 8});
  const ImageHeader greyHeader = HeaderOf(grey);
  EXPECT_EQ(greyHeader.bitsPerPixel, 8);
  EXPECT_EQ(greyHeader.symbolCount, (std::array<std::uint32_t, 3>{64, 0, 0}));
  EXPECT_EQ(greyHeader.valueCount, (std::array<std::uint32_t, 3>{22, 0, 0}));
  EXPECT_EQ(greyHeader.valueBits, (std::array<std::uint8_t, 3>{6, 0, 0}));
  EXPECT_EQ(grey.size(), ExpectedFileSize(greyHeader));
}

}  // namespace
