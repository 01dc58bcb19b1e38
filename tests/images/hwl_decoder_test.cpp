// The decoder against the reference decoder, on both decoder paths: the colour output with its one
// rounding step (nearest, halves to even, saturated), and whole decodes. The reference decoder
// (reference_decoder.cpp) is the coefficient code, the pair rule and the rounding written out plainly.
#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "images/internal/hwl_colour.h"
#include "tests/images/codec_test_support.h"

namespace {

using Plane = std::vector<std::int32_t>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

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
    for (double s : {half, half + 1e-13, half - 1e-13, half + 1e-9, half - 1e-9}) {
      add(s, 0.0, 0.0), add(50.0, 0.0, (s - 50.0) / 1.140251), add(50.0, (s - 50.0) / 2.028398, 0.0);
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

// Coefficient planes built to reach every branch of the pair rule and the values where binary64
// shortcuts could go wrong: mostly zeros, the rest from a few magnitudes and often repeating the
// previous one, so that neighbouring pairs are equal as often as not and whole stretches of details
// are zero; `flat` leaves values only in the approximation band, in runs of equal coefficients, so
// each output is decided by the equality tests alone. Band scales drawn at random, with `extreme`
// often huge, tiny, zero or not finite.
struct Picture {
  std::uint32_t width, height;
  int lastLevel, bitsPerPixel;
  unsigned zeroPercent;
  ChannelBits valueBits;
  bool flat = false, extreme = false;
};

std::ostream& operator<<(std::ostream& out, const Picture& p) {
  return out << p.width << " x " << p.height << ", lastLevel " << p.lastLevel << ", " << p.bitsPerPixel << " bits, "
             << p.zeroPercent << "% zeros" << (p.flat ? ", flat" : "") << (p.extreme ? ", extreme scales" : "");
}

Bytes FileOf(const Picture& p, unsigned seed) {
  constexpr std::int32_t kMagnitudes[] = {1, 2, 3, 17, 128, 255};
  // 1e300 overflows sums to infinity and then NaN, 1e-300 gives subnormal coefficients, 5e-324 a factor
  // of infinity (infinity × 0 is NaN even for zero coefficients); a scale of zero silences its band.
  constexpr double kExtremeScales[] = {1e-300, 1e300, 5e-324, kNaN, kInfinity, 0.0, -0.0, 1.0 / 255, 3.0};
  std::mt19937 random(seed);
  std::vector<std::int32_t> planes[3];
  std::vector<double> scales[3];
  for (int c = 0; c < 3; ++c) {
    std::int32_t previous = 0;
    for (std::size_t i = 0; i < std::size_t{p.width} * p.height; ++i) {
      const unsigned draw = random() % 100;
      const std::int32_t fresh = kMagnitudes[random() % 6] * (random() % 2 ? 1 : -1);
      planes[c].push_back(previous = draw < p.zeroPercent ? 0 : draw % 3 == 0 ? previous : fresh);
    }
    for (std::uint32_t y = 0; p.flat && y < p.height >> (p.lastLevel + 1); ++y) {
      for (std::uint32_t x = 0; x < p.width >> (p.lastLevel + 1); ++x) {
        planes[c][y * p.width + x] = 40 + 30 * ((x / 3 + y + c) % 3);
      }
    }
    for (int k = 0; k < p.lastLevel + 2; ++k) {
      const bool unusual = p.extreme && random() % 3 == 0;
      scales[c].push_back(unusual ? kExtremeScales[random() % 9] : 0.05 + 0.01 * (random() % 300));
    }
  }
  return WrittenBytes({planes[0].data(), planes[1].data(), planes[2].data()}, p.width, p.height, p.bitsPerPixel,
                      p.lastLevel, {scales[0].data(), scales[1].data(), scales[2].data()}, p.valueBits);
}

// With the AVX2 loops allowed and without them: both must give the reference decoder's bytes.
class HwlExactness : public OnBothDecoderPaths {};

TEST_P(HwlExactness, PicturesDecodeAsTheReferenceDoes) {
  // 296 = 8 × 37 columns: line lengths of 148, 74 and 37 pairs, none a multiple of the decoder's
  // groups; 24 rows end in a step of three pairs, whose one inner pair is both first and last. Value
  // widths below 8 keep the low bits of each magnitude, so every width is packed and unpacked too.
  std::vector<Picture> rows = {
      {296, 24, 2, 8, 50, {8, 8, 8}},   {296, 24, 2, 24, 50, {8, 7, 6}},   {296, 24, 2, 8, 85, {5, 8, 8}},
      {296, 24, 2, 24, 85, {4, 3, 2}},  {296, 24, 2, 8, 97, {1, 8, 8}},    {296, 24, 2, 24, 97, {0, 8, 1}},
      {320, 160, 0, 24, 80, {8, 8, 8}}, {320, 160, 1, 24, 80, {8, 8, 8}},  {320, 160, 4, 24, 80, {8, 8, 8}},
      {256, 64, 3, 24, 100, {8, 8, 8}, true}};
  for (int trial = 0; trial < 12; ++trial) rows.push_back({136, 48, 2, trial % 3 ? 24 : 8, 70, {8, 8, 8}, false, true});
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Bytes file = FileOf(rows[i], 100 + static_cast<unsigned>(i));
    ImageHeader header;
    EXPECT_TRUE(DecodeBytes(file, header) == ReferenceDecode(file)) << rows[i];
  }
}

INSTANTIATE_ON_BOTH_DECODER_PATHS(HwlExactness);

}  // namespace
