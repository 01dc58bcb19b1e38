// The decoder: its stages on hand-worked cases (the coefficient code, the transform's pair rule, the
// colour output with its one rounding step), and whole decodes against the reference decoder.
#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "images/internal/hwl_coefficients.h"
#include "images/internal/hwl_colour.h"
#include "images/internal/hwl_wavelet.h"
#include "tests/images/codec_test_support.h"

namespace {

using Plane = std::vector<std::int32_t>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

Plane Decode(const Bytes& symbols, const Bytes& values, std::size_t size, int bits) {
  Plane plane(size, 77);  // exactly the plane: AddressSanitizer sees any write past it
  CoefficientStream(symbols, values, bits).Fill(plane.data(), size);
  return plane;
}

Plane ZerosThen(std::size_t zeros, const Plane& rest) {
  Plane plane(zeros, 0);
  plane.insert(plane.end(), rest.begin(), rest.end());
  return plane;
}

TEST(HwlCoefficients, SymbolsAndValuesGiveTheirCoefficients) {
  struct Row {
    const char* what;
    Bytes symbols, values;
    int bits;
    Plane expected;
  };
  const Row rows[] = {
      {"run of 5 + 0 x 256 + 1", {1, 0, 2}, {5, 9}, 8, ZerosThen(6, {9, 0})},
      {"run of 5 + 3 x 256 + 1", {1, 3, 2}, {5, 9}, 8, ZerosThen(774, {9, 0})},
      {"longest run of 2-bit values", {1, 3, 2}, {3, 1}, 2, ZerosThen(16, {1, 0})},
      {"signs from the symbol only", {3, 2, 0, 2, 3}, {7, 200, 0, 0}, 8, {-7, 200, 0, 0, 0}},
      {"symbols run out", {2, 3}, {4, 5}, 8, {4, -5, 0, 0, 0, 0}},
      {"values run out", {2, 0, 2, 2}, {4}, 8, {4, 0, 0, 0, 0, 0}},
      {"a run without its high symbol", {2, 1}, {4, 5}, 8, {4, 0, 0, 0}},
      {"a run past the plane", {2, 1, 3, 2}, {4, 255, 6}, 8, {4, 0, 0, 0, 0}},
      {"runs past the plane", {2, 1, 3, 1, 3, 1}, {7, 255, 255, 255}, 8, {7, 0, 0, 0, 0, 0}},
      {"nothing at all", {}, {}, 8, {0, 0, 0}},
      {"symbol bytes above 3, width above 8", {0xFF, 0x7D, 0x01, 0x03}, {200, 200}, 40, {-200, 0, 0, 0}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Decode(row.symbols, row.values, row.expected.size(), row.bits), row.expected) << row.what;
  }
}

double Scaled(long double v) { return static_cast<double>(kHaarScale * v); }
double Blend(double own, double neighbour) { return Scaled(0.8L * own + 0.2L * neighbour); }

// The inverse step (the loader's own) on a 2 × 2n block whose quarter holds `low` and whose
// bottom-left band holds `high`, every other detail 0: its one horizontal pair is plain, so both
// columns are c × the vertical outputs.
std::vector<double> Column(const std::vector<double>& low, const std::vector<std::int16_t>& high, double factor) {
  const std::uint32_t n = static_cast<std::uint32_t>(low.size());
  std::vector<std::int16_t> details(4 * n, 0);
  for (std::uint32_t j = 0; j < n; ++j) details[2 * (n + j)] = high[j];
  PlaneRows quarter(low.data(), 1);
  PlaneDetailRows detailRows(details.data(), 2, 2 * n);
  RowPairInverseStep step(quarter, detailRows, factor, 2, 2 * n);
  std::vector<double> column;
  for (std::uint32_t j = 0; j < n; ++j) {
    double even[2], odd[2];
    step.RowPair(j, even, odd);
    EXPECT_TRUE(even[0] == even[1] && odd[0] == odd[1]) << "pair " << j;
    column.insert(column.end(), {even[0], odd[0]});
  }
  return column;
}

TEST(HwlPairRule, InnerPairsWithZeroDetailsBlendTowardsUnequalNeighbours) {
  struct Row {
    const char* what;
    std::vector<double> low;
    std::vector<std::int16_t> high;
    double factor;
    std::size_t first;             // the first output row checked
    std::vector<double> expected;  // vertical outputs from that row on
  };
  const std::vector<double> low{10, 20, 30, 40, 50, 60};
  const std::vector<std::int16_t> zeros(6, 0);
  // Six pairs: pair 2 (L = 30) gives rows 4 and 5.
  const Row rows[] = {
      {"four pairs: the inner two blend, the outer never", {10, 20, 30, 40}, {0, 0, 0, 0}, 1.0, 0,
       {Scaled(10), Scaled(10), Blend(20, 10), Blend(20, 30), Blend(30, 20), Blend(30, 40), Scaled(40), Scaled(40)}},
      {"two pairs: no inner pair", {10, 20}, {0, 0}, 1.0, 0, {Scaled(10), Scaled(10), Scaled(20), Scaled(20)}},
      {"all details zero: both blend", low, zeros, 1.0, 4, {Blend(30, 20), Blend(30, 40)}},
      {"-0 details are zero details", low, zeros, -1e301, 4, {Blend(30, 20), Blend(30, 40)}},
      {"a detail in the previous pair", low, {0, 1, 0, 0, 0, 0}, 1.0, 4, {Scaled(30), Blend(30, 40)}},
      {"a detail in the next pair", low, {0, 0, 0, 2, 0, 0}, 1.0, 4, {Blend(30, 20), Scaled(30)}},
      {"a detail of its own", low, {0, 0, -3, 0, 0, 0}, 1.0, 4, {Scaled(27), Scaled(33)}},
      {"a flat pair behind (L1 = L0)", {20, 20, 30, 40, 50, 60}, zeros, 1.0, 4, {Blend(30, 20), Scaled(30)}},
      {"an equal next value (L2 = L3)", {10, 20, 30, 30, 50, 60}, zeros, 1.0, 4, {Scaled(30), Blend(30, 30)}},
      {"a flat pair ahead (L4 = L3)", {10, 20, 30, 40, 40, 60}, zeros, 1.0, 4, {Scaled(30), Blend(30, 40)}},
  };
  for (const Row& row : rows) {
    const std::vector<double> column = Column(row.low, row.high, row.factor);
    for (std::size_t k = 0; k < row.expected.size(); ++k) {
      EXPECT_EQ(column[row.first + k], Scaled(row.expected[k])) << row.what << ", row " << row.first + k;
    }
  }
  EXPECT_NEAR(Blend(20, 10), 0.7071067811865476 * 18, 1e-12);
  EXPECT_NEAR(Blend(30, 40), 0.7071067811865476 * 32, 1e-12);
}

TEST(HwlColour, SampleToByteRoundsHalvesToEvenAndSaturates) {
  const double samples[] = {-3.2, -0.0, 0.0, 0.4, 0.5, 1.5, 2.5, 127.5, 254.5, 254.6, 254.9, 255.0, 300.0,
                            kNaN, -kInfinity, kInfinity};
  const int bytes[] = {0, 0, 0, 0, 0, 2, 2, 128, 254, 255, 255, 255, 255, 255, 0, 255};
  for (std::size_t i = 0; i < std::size(samples); ++i) EXPECT_EQ(SampleToByte(samples[i]), bytes[i]) << samples[i];
}

TEST(HwlColour, GreyYuvGivesGreyPixelsWithAlphaZero) {
  EXPECT_NEAR(YuvSampleToRgb(100.0, 0.0, 0.0).g, 99.999985, 1e-9);
  const double y = 100.0, u = 0.0, v = 0.0;
  std::uint8_t pixel[4] = {9, 9, 9, 9};
  StoreYuvPixels(&y, &u, &v, 1, pixel);
  EXPECT_EQ(Bytes(pixel, pixel + 4), (Bytes{100, 100, 100, 0}));
}

class HwlColourOutput : public OnBothDecoderPaths {};

TEST_P(HwlColourOutput, IsExactNearRoundingBoundaries) {
  // Random samples, and samples whose red, blue or green lands on or next to a half-integer, where a
  // shortcut through binary64 arithmetic would pick the wrong neighbour; samples only the exact path
  // may convert, inside the groups of the wider loops too. An odd count leaves a tail.
  std::mt19937 random(5);
  std::uniform_real_distribution<double> luma(-40.0, 300.0), chroma(-120.0, 120.0);
  std::vector<double> y, u, v;
  auto add = [&](double a, double b, double c) { y.push_back(a), u.push_back(b), v.push_back(c); };
  for (int i = 0; i < 20000; ++i) add(luma(random), chroma(random), chroma(random));
  for (double unusual : {kNaN, kInfinity, -kInfinity, -0.0, 1e5, -1e5, 9999.5}) {
    add(unusual, 2.0, -3.0), add(100.0, unusual, -3.0), add(100.0, 2.0, unusual);
  }
  for (double half = 0.5; half < 255.0; half += 1.0) {
    for (double nudge : {0.0, 1e-13, -1e-13, 1e-9, -1e-9}) {
      add(half + nudge, 0.0, 0.0), add(50.0, 0.0, (half + nudge - 50.0) / 1.140251);
      add(50.0, (half + nudge - 50.0) / 2.028398, 0.0);
    }
  }
  add(kNaN, 1.0, kInfinity);
  Bytes pixels(4 * y.size());
  StoreYuvPixels(y.data(), u.data(), v.data(), y.size(), pixels.data());
  for (std::size_t i = 0; i < y.size(); ++i) {
    const std::array<std::uint8_t, 4> expected = ReferenceColourPixel(y[i], u[i], v[i]);
    ASSERT_EQ(Bytes(pixels.begin() + 4 * i, pixels.begin() + 4 * i + 4), Bytes(expected.begin(), expected.end()))
        << "sample " << i << ": " << y[i] << ", " << u[i] << ", " << v[i];
  }
}

INSTANTIATE_ON_BOTH_DECODER_PATHS(HwlColourOutput);

// Whole decodes against the reference decoder, on coefficient planes built to reach every branch of
// the pair rule and the values where binary64 shortcuts could go wrong: long stretches of zero details
// over equal and unequal neighbours, lines that are not a multiple of the decoder's groups, huge,
// tiny, zero and non-finite band factors.
struct Picture {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int bitsPerPixel = 24;
  int lastLevel = 0;
  std::vector<std::int32_t> planes[3];
  std::vector<double> scales[3];
  ChannelBits valueBits = {8, 8, 8};
};

Bytes FileOf(const Picture& picture) {
  const ChannelPlanes planes{picture.planes[0].data(), picture.planes[1].data(), picture.planes[2].data()};
  const ChannelScales scales{picture.scales[0].data(), picture.scales[1].data(), picture.scales[2].data()};
  return WrittenBytes(planes, picture.width, picture.height, picture.bitsPerPixel, picture.lastLevel, scales,
                      picture.valueBits);
}

// Mostly zeros; the rest drawn from a few magnitudes and often repeating the previous coefficient,
// so that neighbouring pairs are equal as often as not and whole stretches of details are zero.
std::vector<std::int32_t> SparsePlane(std::size_t size, std::mt19937& random, unsigned zeroPercent) {
  std::vector<std::int32_t> plane(size);
  std::int32_t previous = 0;
  for (auto& coefficient : plane) {
    const unsigned draw = random() % 100;
    if (draw < zeroPercent) {
      coefficient = 0;
    } else if (draw % 3 == 0) {
      coefficient = previous;
    } else {
      constexpr std::int32_t kMagnitudes[] = {1, 2, 3, 17, 128, 255};
      coefficient = kMagnitudes[random() % 6] * (random() % 2 ? 1 : -1);
    }
    previous = coefficient;
  }
  return plane;
}

Picture SparsePicture(std::uint32_t W, std::uint32_t H, int lastLevel, int bitsPerPixel, unsigned seed,
                      unsigned zeroPercent) {
  std::mt19937 random(seed);
  Picture picture{W, H, bitsPerPixel, lastLevel, {}, {}, {8, 8, 8}};
  for (int c = 0; c < 3; ++c) {
    picture.planes[c] = SparsePlane(std::size_t{W} * H, random, zeroPercent);
    for (int k = 0; k < lastLevel + 2; ++k) picture.scales[c].push_back(0.05 + 0.01 * (random() % 300));
  }
  return picture;
}

void ExpectReferenceBytes(const Picture& picture, const std::string& what) {
  const Bytes file = FileOf(picture);
  ImageHeader header;
  const Bytes decoded = DecodeBytes(file, header);
  const Bytes reference = ReferenceDecode(file);
  EXPECT_TRUE(decoded == reference) << what;
}

// With the AVX2 loops allowed and without them: both must give the same bytes.
class HwlExactness : public OnBothDecoderPaths {};

TEST_P(HwlExactness, SparsePicturesDecodeAsTheReferenceDoes) {
  // 296 = 8 × 37 columns: line lengths of 148, 74 and 37 pairs, none a multiple of the decoder's
  // groups; 24 rows end in a step of three pairs, whose one inner pair is both first and last. Value
  // widths below 8 keep the low bits of each magnitude, so every width is packed and unpacked too.
  struct Row {
    std::uint32_t width, height;
    int lastLevel, bitsPerPixel;
    unsigned zeroPercent;
    ChannelBits valueBits;
  };
  const Row rows[] = {{296, 24, 2, 8, 50, {8, 8, 8}},    {296, 24, 2, 24, 50, {8, 7, 6}},
                      {296, 24, 2, 8, 85, {5, 8, 8}},    {296, 24, 2, 24, 85, {4, 3, 2}},
                      {296, 24, 2, 8, 97, {1, 8, 8}},    {296, 24, 2, 24, 97, {0, 8, 1}},
                      {320, 160, 0, 24, 80, {8, 8, 8}},  {320, 160, 1, 24, 80, {8, 8, 8}},
                      {320, 160, 4, 24, 80, {8, 8, 8}}};
  for (const Row& row : rows) {
    Picture picture = SparsePicture(row.width, row.height, row.lastLevel, row.bitsPerPixel,
                                    100 + row.zeroPercent + row.lastLevel + row.bitsPerPixel, row.zeroPercent);
    picture.valueBits = row.valueBits;
    ExpectReferenceBytes(picture, std::to_string(row.width) + " x " + std::to_string(row.height) + ", lastLevel " +
                                      std::to_string(row.lastLevel) + ", " + std::to_string(row.bitsPerPixel) +
                                      " bits, " + std::to_string(row.zeroPercent) + "% zeros, value bits " +
                                      std::to_string(row.valueBits[0]) + std::to_string(row.valueBits[1]) +
                                      std::to_string(row.valueBits[2]));
  }
}

TEST_P(HwlExactness, FlatBlocksStayFlatAndTheirEdgesBlend) {
  // Only the approximation band carries values, in runs of equal coefficients: every detail is zero,
  // so each output is decided by the equality tests alone.
  Picture picture = SparsePicture(256, 64, 3, 24, 11, 100);
  const std::uint32_t bandWidth = 256 >> 4, bandHeight = 64 >> 4;
  for (int c = 0; c < 3; ++c) {
    for (std::uint32_t y = 0; y < bandHeight; ++y) {
      for (std::uint32_t x = 0; x < bandWidth; ++x) picture.planes[c][y * 256 + x] = 40 + 30 * ((x / 3 + y + c) % 3);
    }
  }
  ExpectReferenceBytes(picture, "flat blocks");
}

TEST_P(HwlExactness, ExtremeAndNonFiniteFactorsGiveTheReferenceBytes) {
  // Factors of 1e300 overflow sums to infinity and then NaN, 1e-300 gives subnormal coefficients,
  // 5e-324 a factor of infinity (infinity × 0 is NaN even for zero coefficients), NaN and infinite
  // scales, and a scale of zero silences its band.
  const double kScales[] = {1e-300, 1e300, 5e-324, std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity(), 0.0, -0.0, 1.0 / 255, 3.0};
  std::mt19937 random(31);
  for (int trial = 0; trial < 12; ++trial) {
    Picture picture = SparsePicture(136, 48, 2, trial % 3 ? 24 : 8, 40 + trial, 70);
    for (auto& table : picture.scales) {
      for (auto& scale : table) {
        if (random() % 3 == 0) scale = kScales[random() % std::size(kScales)];
      }
    }
    ExpectReferenceBytes(picture, "trial " + std::to_string(trial));
  }
}

INSTANTIATE_ON_BOTH_DECODER_PATHS(HwlExactness);

}  // namespace
