// The decoder's stages on hand-worked cases: the coefficient code, the transform's pair rule and the
// colour output with its one rounding step.
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

TEST(HwlCoefficients, RandomStreamsInRandomPiecesDecodeAsTheReference) {
  // Streams that end in every way (symbols or values first, inside a run, with the plane full or not)
  // and pieces that cut runs, so the fast steps hand over to the careful ones at every point.
  std::mt19937 random(41);
  for (int trial = 0; trial < 500; ++trial) {
    Bytes symbols(random() % 600), values(random() % 400);
    const unsigned runShare = random() % 30;
    for (auto& symbol : symbols) symbol = static_cast<std::uint8_t>(random() % 100 < runShare ? 1 : random() % 4);
    for (auto& value : values) value = static_cast<std::uint8_t>(random());
    const int bits = static_cast<int>(random() % 9);
    const std::size_t size = 1 + random() % 3000;
    Plane pieces(size, 77);
    CoefficientStream stream(symbols, values, bits);
    for (std::size_t done = 0; done < size;) {
      const std::size_t piece = std::min<std::size_t>(size - done, 1 + random() % (trial % 2 ? 40 : 3000));
      stream.Fill(pieces.data() + done, piece);
      done += piece;
    }
    ASSERT_EQ(pieces, ReferenceCoefficients(symbols, values, size, bits)) << "trial " << trial;
  }
}

double Scaled(long double v) { return static_cast<double>(kHaarScale * v); }
double Blend(double own, double neighbour) { return Scaled(0.8L * own + 0.2L * neighbour); }

// One inverse step on a w × h block: the rebuilt quarter (w/2 × h/2) and the quantised detail bands
// (w × h, band positions only) in, the rebuilt block out.
std::vector<double> InverseStep(const std::vector<double>& quarter, const std::vector<std::int16_t>& details,
                                double factor, std::uint32_t w, std::uint32_t h) {
  PlaneRows quarterRows(quarter.data(), w / 2);
  PlaneDetailRows detailRows(details.data(), w, h);
  RowPairInverseStep step(quarterRows, detailRows, factor, w, h);
  std::vector<double> out(std::size_t{w} * h);
  for (std::uint32_t j = 0; j < h / 2; ++j) step.RowPair(j, &out[2 * j * w], &out[(2 * j + 1) * w]);
  return out;
}

// A 2 × 2n block whose quarter holds `low` and whose bottom-left band holds `high` (every other detail
// 0): its one horizontal pair is plain, so column 0 is c × the vertical outputs.
std::vector<double> Column(const std::vector<double>& low, const std::vector<std::int16_t>& high, double factor) {
  const std::uint32_t n = static_cast<std::uint32_t>(low.size());
  std::vector<std::int16_t> details(4 * n, 0);
  for (std::uint32_t j = 0; j < n; ++j) details[2 * (n + j)] = high[j];
  const std::vector<double> block = InverseStep(low, details, factor, 2, 2 * n);
  std::vector<double> column;
  for (std::uint32_t y = 0; y < 2 * n; ++y) {
    EXPECT_EQ(block[2 * y], block[2 * y + 1]) << "row " << y;
    column.push_back(block[2 * y]);
  }
  return column;
}

TEST(HwlPairRule, FourPairsBlendTowardsFlatNeighboursDownAColumn) {
  // L = 10, 20, 30, 40 over zero details: pairs 1 and 2 blend both ways, the outer pairs never.
  const std::vector<double> expected = {Scaled(10),     Scaled(10),     Blend(20, 10), Blend(20, 30),
                                        Blend(30, 20),  Blend(30, 40),  Scaled(40),    Scaled(40)};
  const std::vector<double> column = Column({10, 20, 30, 40}, {0, 0, 0, 0}, 1.0);
  for (std::size_t y = 0; y < expected.size(); ++y) EXPECT_EQ(column[y], Scaled(expected[y])) << "row " << y;
  EXPECT_NEAR(expected[2], 0.7071067811865476 * 18, 1e-12);
  EXPECT_NEAR(expected[5], 0.7071067811865476 * 32, 1e-12);
}

TEST(HwlPairRule, FourPairsBlendAlongARowToo) {
  // An 8 × 2 block: the plain vertical pair turns the quarter's row into c × L in both rows.
  const double L[4] = {Scaled(10), Scaled(20), Scaled(30), Scaled(40)};
  const double row[8] = {Scaled(L[0]), Scaled(L[0]), Blend(L[1], L[0]), Blend(L[1], L[2]),
                         Blend(L[2], L[1]), Blend(L[2], L[3]), Scaled(L[3]), Scaled(L[3])};
  const std::vector<double> block = InverseStep({10, 20, 30, 40}, std::vector<std::int16_t>(16, 0), 1.0, 8, 2);
  for (int x = 0; x < 16; ++x) EXPECT_EQ(block[x], row[x % 8]) << "x " << x % 8 << " y " << x / 8;
}

TEST(HwlPairRule, BlendsNeedZeroDetailsAndUnequalNeighbours) {
  // Six pairs; pair 2 (L = 30) gives rows 4 and 5.
  struct Row {
    const char* what;
    std::vector<double> low;
    std::vector<std::int16_t> high;
    double factor, even, odd;
  };
  const std::vector<double> low{10, 20, 30, 40, 50, 60};
  const std::vector<std::int16_t> zeros(6, 0);
  const Row rows[] = {
      {"all details zero: both blend", low, zeros, 1.0, Blend(30, 20), Blend(30, 40)},
      {"-0 details are zero details", low, zeros, -1e301, Blend(30, 20), Blend(30, 40)},
      {"a detail in the previous pair", low, {0, 1, 0, 0, 0, 0}, 1.0, Scaled(30), Blend(30, 40)},
      {"a detail in the next pair", low, {0, 0, 0, 2, 0, 0}, 1.0, Blend(30, 20), Scaled(30)},
      {"a detail of its own", low, {0, 0, -3, 0, 0, 0}, 1.0, Scaled(27), Scaled(33)},
      {"a flat pair behind (L1 = L0)", {20, 20, 30, 40, 50, 60}, zeros, 1.0, Blend(30, 20), Scaled(30)},
      {"an equal next value (L2 = L3)", {10, 20, 30, 30, 50, 60}, zeros, 1.0, Scaled(30), Blend(30, 30)},
      {"a flat pair ahead (L4 = L3)", {10, 20, 30, 40, 40, 60}, zeros, 1.0, Scaled(30), Blend(30, 40)},
  };
  for (const Row& row : rows) {
    const std::vector<double> column = Column(row.low, row.high, row.factor);
    EXPECT_EQ(column[4], Scaled(row.even)) << row.what;
    EXPECT_EQ(column[5], Scaled(row.odd)) << row.what;
  }
}

TEST(HwlPairRule, TwoPairsHaveNoInnerPairToBlend) {
  const std::vector<double> column = Column({10, 20}, {0, 0}, 1.0);
  const double first = Scaled(Scaled(10)), second = Scaled(Scaled(20));
  EXPECT_EQ(column, (std::vector<double>{first, first, second, second}));
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

}  // namespace
