// DecodeCoefficients and Dequantise.
#include <gtest/gtest.h>

#include <random>

#include "images/internal/hwl_coefficients.h"
#include "tests/images/codec_test_support.h"

namespace {

using Plane = std::vector<std::int32_t>;

Plane Decode(const Bytes& symbols, const Bytes& values, std::uint32_t size, int bits) {
  Plane plane(size, 77);  // anything not written must not survive as 77
  DecodeCoefficients(symbols, values, size, 1, bits, plane.data());
  return plane;
}

// Index of the first non-zero coefficient.
std::size_t LeadingZeros(const Plane& plane) {
  std::size_t i = 0;
  while (i < plane.size() && plane[i] == 0) ++i;
  return i;
}

TEST(HwlCoefficients, RunLengthsUseTheHighSymbolAndTheValueWidth) {
  // A run, then a marker +9 to show where the run ended.
  Plane plane = Decode({1, 0, 2}, {5, 9}, 20, 8);
  EXPECT_EQ(LeadingZeros(plane), 6u);  // 5 + 0 × 256 + 1
  EXPECT_EQ(plane[6], 9);

  plane = Decode({1, 3, 2}, {5, 9}, 1000, 8);
  EXPECT_EQ(LeadingZeros(plane), 774u);  // 5 + 3 × 256 + 1
  EXPECT_EQ(plane[774], 9);

  plane = Decode({1, 3, 2}, {3, 1}, 40, 2);
  EXPECT_EQ(LeadingZeros(plane), 16u);  // the longest run for 2-bit values: 3 + 3 × 4 + 1
  EXPECT_EQ(plane[16], 1);
}

TEST(HwlCoefficients, SignsComeFromTheSymbolOnly) {
  const Plane plane = Decode({3, 2, 0, 2, 3}, {7, 200, 0, 0}, 5, 8);
  EXPECT_EQ(plane, (Plane{-7, 200, 0, 0, 0}));
}

TEST(HwlCoefficients, ExhaustedStreamsLeaveTheRestOfThePlaneZero) {
  // Symbols run out after two coefficients.
  EXPECT_EQ(Decode({2, 3}, {4, 5}, 6, 8), (Plane{4, -5, 0, 0, 0, 0}));
  // Values run out: the third coefficient needs one and there is none.
  EXPECT_EQ(Decode({2, 0, 2, 2}, {4}, 6, 8), (Plane{4, 0, 0, 0, 0, 0}));
  // A run whose high symbol is missing.
  EXPECT_EQ(Decode({2, 1}, {4, 5}, 4, 8), (Plane{4, 0, 0, 0}));
  // A run reaching past the plane stops at its end; the next symbol is never used.
  EXPECT_EQ(Decode({2, 1, 3, 2}, {4, 255, 6}, 5, 8), (Plane{4, 0, 0, 0, 0}));
  // Nothing at all.
  EXPECT_EQ(Decode({}, {}, 3, 8), (Plane{0, 0, 0}));
}

// The decoding rules one symbol at a time, as plainly as they can be written.
Plane DecodeByTheRules(const Bytes& symbols, const Bytes& values, std::size_t size, int bits) {
  Plane plane(size, 0);
  std::size_t i = 0, s = 0, v = 0;
  while (i < size && s < symbols.size()) {
    const int symbol = symbols[s];
    if (symbol == 1) {
      if (s + 1 >= symbols.size() || v >= values.size()) break;
      i += values[v++] + symbols[s + 1] * (std::size_t{1} << bits) + 1;  // zeros, already there
      s += 2;
    } else if (symbol == 0) {
      ++i;
      ++s;
    } else {
      if (v >= values.size()) break;
      plane[i++] = symbol == 2 ? values[v] : -values[v];
      ++v;
      ++s;
    }
  }
  return plane;
}

TEST(HwlCoefficients, RandomStreamsDecodeByTheRules) {
  // Streams that end in every way: symbols or values first, inside a run, with the plane full or
  // not, so the decoder's fast steps hand over to its careful ones at every point.
  std::mt19937 random(41);
  for (int trial = 0; trial < 500; ++trial) {
    Bytes symbols(random() % 600), values(random() % 400);
    const unsigned runShare = random() % 30;
    for (auto& symbol : symbols) symbol = static_cast<std::uint8_t>(random() % 100 < runShare ? 1 : random() % 4);
    for (auto& value : values) value = static_cast<std::uint8_t>(random());
    const int bits = static_cast<int>(random() % 9);
    const std::uint32_t size = 1 + random() % 3000;
    Plane decoded(size, 77);
    DecodeCoefficients(symbols, values, size, 1, bits, decoded.data());
    ASSERT_EQ(decoded, DecodeByTheRules(symbols, values, size, bits)) << "trial " << trial;
  }
}

TEST(HwlCoefficients, PiecewiseDecodingMatchesOneCall) {
  // Long runs that cross piece boundaries, exhausted streams, runs past the end of the plane.
  std::mt19937 random(23);
  for (int trial = 0; trial < 200; ++trial) {
    Bytes symbols(random() % 300), values(random() % 200);
    for (auto& s : symbols) s = static_cast<std::uint8_t>(random() % 4);
    for (auto& v : values) v = static_cast<std::uint8_t>(random());
    const int bits = static_cast<int>(random() % 9);
    const std::uint32_t size = 1 + random() % 2000;
    Plane whole(size, 77);
    DecodeCoefficients(symbols, values, size, 1, bits, whole.data());
    Plane pieces(size, 77);
    CoefficientStream stream(symbols, values, bits);
    for (std::uint32_t done = 0; done < size;) {
      const std::uint32_t piece = std::min<std::uint32_t>(size - done, 1 + random() % 40);
      stream.Fill(pieces.data() + done, piece);
      done += piece;
    }
    ASSERT_EQ(pieces, whole) << "trial " << trial;
  }
}

TEST(HwlDequantise, RowByRowMatchesThePlane) {
  std::mt19937 random(29);
  Plane in(32 * 16);
  for (auto& q : in) q = static_cast<std::int32_t>(random() % 511) - 255;
  in[52] = 1 << 20;  // row 1, column 20, level 0: its segment takes the extended path
  double scale[4] = {0.37, 0.0, 3.5, 0.011};
  std::vector<double> whole(in.size());
  Dequantise(in.data(), 32, 16, 2, scale, whole.data());
  const std::vector<double> factors = BandFactors(scale, 2);
  std::vector<double> rows(in.size());
  for (std::uint32_t y = 0; y < 16; ++y) DequantiseRow(in.data() + 32 * y, y, 32, 16, 2, factors, rows.data() + 32 * y);
  EXPECT_EQ(rows, whole);
  EXPECT_EQ(whole[52], static_cast<double>(static_cast<long double>(static_cast<double>(1.0L / 0.37)) * (1 << 20)));
}

TEST(HwlDequantise, ScaleZeroGivesZeroAndOtherScalesMultiplyByTheReciprocal) {
  const Plane in{3, -100, 7, 1};  // W = H = 2, L = 0: [0] is the approximation band
  double scale[2] = {0.0, 0.25};
  std::vector<double> out(4, -1.0);
  Dequantise(in.data(), 2, 2, 0, scale, out.data());
  EXPECT_EQ(out, (std::vector<double>{12.0, 0.0, 0.0, 0.0}));
}

TEST(HwlDequantise, EightByEightTwoLevelBandGeometry) {
  // Every coefficient 1; the factor of each band (1, 2 and 4) tells which band wrote it.
  const Plane in(64, 1);
  double scale[3] = {1.0, 0.5, 0.25};
  std::vector<double> out(64, -1.0);
  Dequantise(in.data(), 8, 8, 1, scale, out.data());
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const double expected = (x < 2 && y < 2) ? 4.0 : (x < 4 && y < 4) ? 2.0 : 1.0;
      EXPECT_EQ(out[y * 8 + x], expected) << "x " << x << " y " << y;
    }
  }
}

TEST(HwlDequantise, ProductsRoundOnceFromExtendedPrecision) {
  // Large integers need more than the binary64 mantissa: the product must be formed in extended
  // precision and rounded once, whatever shortcut small integers take.
  std::mt19937_64 random(11);
  std::uniform_int_distribution<std::int32_t> anyInt(INT32_MIN, INT32_MAX);
  std::uniform_real_distribution<double> anyScale(0.001, 1000.0);
  for (int trial = 0; trial < 2000; ++trial) {
    const Plane in{anyInt(random), static_cast<std::int32_t>(anyInt(random) % 2048)};
    double scale[2] = {anyScale(random), anyScale(random)};
    scale[1] = scale[0];
    std::vector<double> out(2);
    Dequantise(in.data(), 2, 1, 0, scale, out.data());
    const long double factor = static_cast<double>(1.0L / scale[0]);
    for (int i = 0; i < 2; ++i) ASSERT_EQ(out[i], static_cast<double>(factor * in[i])) << in[i];
  }
}

}  // namespace
