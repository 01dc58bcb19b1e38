// The writer's stages on hand-worked cases: the forward transform, Quantise, ZeroSmallDetails,
// Symbolise and WriteImageFile.
#include <gtest/gtest.h>

#include "images/internal/hwl_quantiser.h"
#include "images/internal/hwl_symboliser.h"
#include "images/internal/hwl_wavelet.h"
#include "tests/images/codec_test_support.h"

namespace {

using Plane = std::vector<std::int32_t>;

Plane operator+(Plane first, const Plane& second) { return first.insert(first.end(), second.begin(), second.end()), first; }

Plane ZerosThen(std::size_t zeros, Plane rest) {
  rest.insert(rest.begin(), zeros, 0);
  return rest;
}

double Scaled(long double v) { return static_cast<double>(kHaarScale * v); }

TEST(HwlForwardWavelet, StepFormsSumsThenDifferencesRowsFirst) {
  const std::vector<double> input{1, 3, 5, 11};  // 2 × 2
  std::vector<double> out(4);
  ForwardWavelet(input.data(), out.data(), 2, 2, 2, 2, 0);
  const double sum0 = Scaled(3.0L + 1), difference0 = Scaled(1.0L - 3), sum1 = Scaled(11.0L + 5), difference1 = Scaled(5.0L - 11);
  const long double ld = 0;
  EXPECT_EQ(out, (std::vector<double>{Scaled(ld + sum1 + sum0), Scaled(ld + difference1 + difference0),
                                      Scaled(ld + sum0 - sum1), Scaled(ld + difference0 - difference1)}));
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
      {"seven zeros stay single", ZerosThen(7, {5, 1}), 8, {0, 0, 0, 0, 0, 0, 0, 2, 2}, {5, 1}},
      {"nine zeros become a run", ZerosThen(9, {-5, 1}), 8, {1, 0, 3, 2}, {8, 5, 1}},
      // b = 2: runs of up to 16 zeros, and only more than (2 + 4) / 2 = 3 following zeros make one.
      {"two-bit values", Plane{-3} + ZerosThen(29, {2}) + Plane(9, 0), 2, {3, 1, 3, 1, 3, 2, 1, 1, 0}, {3, 3, 0, 2, 3}},
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

// Each channel's counts and value width go into the header (the counts by the run rule above: channel
// 1 has ten coefficients with runs of six zeros between them, channel 2 runs of 32 and 31 zeros, then
// its last coefficient); a grey file leaves the other two channels' entries 0.
TEST(HwlWriteImageFile, HeaderCarriesEachChannelsCountsAndGreyZerosTheUnused) {
  Plane planes[3] = {Plane(64, 0), Plane(64, 0), Plane(64, 0)};
  for (int i = 0; i < 64; i += 3) planes[0][i] = i % 5 + 1;
  for (int i = 0; i < 64; i += 7) planes[1][i] = -(i % 4 + 1);
  planes[2][63] = 1;
  const double scales[3][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  const ImageHeader expected[] = {{{'H', 'W', 'L'}, 8, 8, 24, 1, {64, 28, 5}, {22, 19, 3}, {8, 5, 3}},
                                  {{'H', 'W', 'L'}, 8, 8, 8, 1, {64, 0, 0}, {22, 0, 0}, {8, 0, 0}}};
  for (const ImageHeader& want : expected) {
    const bool grey = want.bitsPerPixel == 8;
    const ChannelPlanes used{planes[0].data(), grey ? nullptr : planes[1].data(), grey ? nullptr : planes[2].data()};
    const ChannelScales usedScales{scales[0], grey ? nullptr : scales[1], grey ? nullptr : scales[2]};
    const Bytes file = WrittenBytes(used, 8, 8, want.bitsPerPixel, 1, usedScales, {8, 5, 3});
    EXPECT_EQ(SerializeImageHeader(HeaderOf(file)), SerializeImageHeader(want)) << want.bitsPerPixel << " bits";
    EXPECT_EQ(file.size(), ExpectedFileSize(want)) << want.bitsPerPixel << " bits";
  }
}

}  // namespace
