// The writer's stages: Symbolise, Quantise, ZeroSmallDetails, CountZeros and WriteImageFile.
#include <gtest/gtest.h>

#include <sstream>

#include "images/internal/hwl_coefficients.h"
#include "images/internal/hwl_quantiser.h"
#include "images/internal/hwl_symboliser.h"
#include "images/internal/hwl_writer.h"
#include "tests/images/codec_test_support.h"

namespace {

using Plane = std::vector<std::int32_t>;

struct Streams {
  Bytes symbols;
  Bytes values;
};

Streams SymboliseLine(const Plane& plane, int bits) {
  Bytes symbols(plane.size()), values(plane.size());
  std::uint32_t symbolCount = 0, valueCount = 0;
  Symbolise(plane.data(), symbols, symbolCount, values, valueCount, static_cast<std::uint32_t>(plane.size()), 1, bits);
  symbols.resize(symbolCount);
  values.resize(valueCount);
  return {symbols, values};
}

Plane DecodeLine(const Streams& streams, std::size_t size, int bits) {
  Plane plane(size, 77);
  DecodeCoefficients(streams.symbols, streams.values, static_cast<std::uint32_t>(size), 1, bits, plane.data());
  return plane;
}

TEST(HwlSymbolise, AllZeroPlaneBecomesLongestRunsAndALastSingleZero) {
  const Plane zeros(2049, 0);
  const Streams streams = SymboliseLine(zeros, 8);
  EXPECT_EQ(streams.symbols, (Bytes{1, 3, 1, 3, 0}));
  EXPECT_EQ(streams.values, (Bytes{255, 255}));
  EXPECT_EQ(DecodeLine(streams, zeros.size(), 8), zeros);
}

TEST(HwlSymbolise, TheLastCoefficientNeverJoinsARun) {
  const Plane zeros(20, 0);
  const Streams streams = SymboliseLine(zeros, 8);
  // The run takes indices 0 … 18 (k = 18 stops before index 19), then index 19 alone.
  EXPECT_EQ(streams.symbols, (Bytes{1, 0, 0}));
  EXPECT_EQ(streams.values, (Bytes{18}));
  EXPECT_EQ(DecodeLine(streams, zeros.size(), 8), zeros);
}

TEST(HwlSymbolise, SevenZerosStaySingleAndNineBecomeARun) {
  Plane seven(7, 0);
  seven.push_back(5);
  seven.push_back(1);
  Streams streams = SymboliseLine(seven, 8);
  EXPECT_EQ(streams.symbols, (Bytes{0, 0, 0, 0, 0, 0, 0, 2, 2}));
  EXPECT_EQ(streams.values, (Bytes{5, 1}));

  Plane nine(9, 0);
  nine.push_back(-5);
  nine.push_back(1);
  streams = SymboliseLine(nine, 8);
  EXPECT_EQ(streams.symbols, (Bytes{1, 0, 3, 2}));
  EXPECT_EQ(streams.values, (Bytes{8, 5, 1}));
  EXPECT_EQ(DecodeLine(streams, nine.size(), 8), nine);
}

TEST(HwlSymbolise, NarrowValuesMakeShorterRunsAndKeepSigns) {
  // b = 2: runs of up to 16 zeros, and only runs longer than 3 zeros ((2 + 4) / 2 = 3 following).
  Plane plane(40, 0);
  plane[0] = -3;
  plane[30] = 2;
  const Streams streams = SymboliseLine(plane, 2);
  EXPECT_EQ(DecodeLine(streams, plane.size(), 2), plane);
  EXPECT_EQ(streams.symbols.front(), 3);
  EXPECT_EQ(streams.values.front(), 3);
  // 29 zeros after the first coefficient: a run of 16, then one of 13.
  EXPECT_EQ(streams.symbols[1], 1);
  EXPECT_EQ(streams.symbols[2], 3);
  EXPECT_EQ(streams.values[1], 3);
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
  EXPECT_EQ(scale[0], 85.0);
  EXPECT_EQ(quantised[2], -255);
  EXPECT_EQ(quantised[3], 128);  // 127.5 rounds to even
  EXPECT_EQ(quantised[15], -85);
  EXPECT_EQ(quantised[6], 42);  // 42.5 rounds to even
  EXPECT_EQ(scale[1], 0.0);
  EXPECT_EQ(quantised[0], 0);
}

TEST(HwlQuantise, ThreeChannelsUseTheirOwnBitsAndTables) {
  std::vector<double> planes[3];
  for (int c = 0; c < 3; ++c) planes[c] = std::vector<double>(16, 1.0 + c);
  Plane quantised[3] = {Plane(16), Plane(16), Plane(16)};
  double scales[3][2];
  Quantise({planes[0].data(), planes[1].data(), planes[2].data()},
           {quantised[0].data(), quantised[1].data(), quantised[2].data()}, 4, 4, 0, {8, 4, 1},
           {scales[0], scales[1], scales[2]});
  EXPECT_EQ(scales[0][0], 255.0);
  EXPECT_EQ(scales[1][0], 7.5);
  EXPECT_EQ(scales[2][0], 1.0 / 3.0);
  EXPECT_EQ(quantised[1][5], 15);
  EXPECT_EQ(quantised[2][15], 1);
}

TEST(HwlQuantise, SmallDetailsAreZeroedOutsideTheApproximation) {
  std::vector<double> plane(16, 0.25);
  plane[7] = -0.5;
  plane[8] = 0.0;
  plane[9] = 2.0;
  // level 0 of a 4 × 4 plane keeps the top-left 2 × 2 block.
  EXPECT_EQ(ZeroSmallDetails(plane.data(), 0.5, 4, 4, 0), 10u);  // 12 details, minus the 0 and the 2
  EXPECT_EQ(plane[0], 0.25);
  EXPECT_EQ(plane[5], 0.25);
  EXPECT_EQ(plane[7], 0.0);
  EXPECT_EQ(plane[9], 2.0);
  const Plane ints{0, 1, 0, -2, 0, 0};
  EXPECT_EQ(CountZeros(ints.data(), 3, 2), 4u);
}

ImageHeader HeaderOf(const Bytes& bytes) {
  ImageHeaderBytes head{};
  std::copy_n(bytes.begin(), kImageHeaderSize, head.begin());
  return ParseImageHeader(head);
}

TEST(HwlWriteImageFile, ColourHeaderCarriesAllThreeCounts) {
  const std::uint32_t W = 8, H = 8;
  Plane planes[3] = {Plane(64, 0), Plane(64, 0), Plane(64, 0)};
  for (int i = 0; i < 64; i += 3) planes[0][i] = i % 5 + 1;
  for (int i = 0; i < 64; i += 7) planes[1][i] = -(i % 4 + 1);
  planes[2][63] = 1;
  double scales[3][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  const Bytes bytes = WrittenBytes({planes[0].data(), planes[1].data(), planes[2].data()}, W, H, 24, 1,
                                   {scales[0], scales[1], scales[2]}, {8, 5, 3});
  const ImageHeader header = HeaderOf(bytes);
  EXPECT_EQ(header.signature, (std::array<std::uint8_t, 3>{'H', 'W', 'L'}));
  for (int c = 0; c < 3; ++c) {
    const Streams streams = SymboliseLine(planes[c], header.valueBits[c]);
    EXPECT_EQ(header.symbolCount[c], streams.symbols.size()) << c;
    EXPECT_EQ(header.valueCount[c], streams.values.size()) << c;
    EXPECT_GT(header.symbolCount[c], 0u);
  }
  EXPECT_EQ(header.valueBits, (std::array<std::uint8_t, 3>{8, 5, 3}));
  EXPECT_EQ(bytes.size(), ExpectedFileSize(header));
}

TEST(HwlWriteImageFile, GreyFileWritesZerosIntoTheUnusedEntries) {
  Plane plane(16, 3);
  double scale[2] = {1, 1};
  const Bytes bytes = WrittenBytes({plane.data(), nullptr, nullptr}, 4, 4, 8, 0, {scale, nullptr, nullptr}, {6, 7, 8});
  const ImageHeader header = HeaderOf(bytes);
  EXPECT_EQ(header.bitsPerPixel, 8);
  EXPECT_EQ(header.symbolCount[0], 16u);
  EXPECT_EQ(header.valueCount[0], 16u);
  EXPECT_EQ(header.valueBits[0], 6);
  for (int c = 1; c < 3; ++c) {
    EXPECT_EQ(header.symbolCount[c], 0u);
    EXPECT_EQ(header.valueCount[c], 0u);
    EXPECT_EQ(header.valueBits[c], 0);
  }
  EXPECT_EQ(bytes.size(), ExpectedFileSize(header));
}

}  // namespace
