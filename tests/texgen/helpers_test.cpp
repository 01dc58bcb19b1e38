#include "texgen/internal/helpers.h"

#include <cmath>
#include <random>

#include "layer_test_support.h"
#include "texgen/internal/numeric.h"

namespace {

TEST(TexgenRandom, SeedOneGivesTheKnownSequence) {
  SeedRandom(1);
  EXPECT_EQ(NextRandom(), 346u);
  EXPECT_EQ(randomState, 22695477u);
  EXPECT_EQ(NextRandom(), 32552u);
  EXPECT_EQ(randomState, 2133350137u);
  EXPECT_EQ(NextRandom(), 10851u);
  EXPECT_EQ(randomState, 711188365u);
}

TEST(TexgenRandom, UnseededStateStaysAtZero) {
  randomState = 0;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(NextRandom(), 0u);
}

TEST(TexgenSquareRoots, ISqrtMayEndOneAboveTheFloor) {
  EXPECT_EQ(ISqrt(0), 0u);
  EXPECT_EQ(ISqrt(1), 1u);
  EXPECT_EQ(ISqrt(8), 3u);
  EXPECT_EQ(ISqrt(15), 3u);
  EXPECT_EQ(ISqrt(24), 4u);
  EXPECT_EQ(ISqrt(65025), 255u);
  EXPECT_EQ(ISqrt(32768), 181u);          // the emboss value of a flat layer
  EXPECT_EQ(ISqrt(4294836225u), 65535u);  // 65535 squared, the largest exact square
}

TEST(TexgenSquareRoots, FastSqrtIsExactOnEvenPowersOfTwoAndCloseElsewhere) {
  EXPECT_EQ(FastSqrt(1.0f), 1.0f);
  EXPECT_EQ(FastSqrt(4.0f), 2.0f);
  EXPECT_EQ(FastSqrt(16.0f), 4.0f);
  EXPECT_EQ(FastSqrt(0.25f), 0.5f);
  // Between powers of two the pattern interpolates linearly: 9 -> 3.125, within 5 %.
  EXPECT_FLOAT_EQ(FastSqrt(9.0f), 3.125f);
  EXPECT_NEAR(FastSqrt(2.0f), std::sqrt(2.0f), 0.1f);
}

TEST(TexgenInterpolation, CornersAndMidpoints) {
  const std::uint8_t a[3] = {0, 100, 200}, b[3] = {200, 100, 0}, c[3] = {40, 40, 40},
                     d[3] = {80, 80, 80};
  std::uint8_t out[3];
  CosInterp(a, b, c, d, 0.0f, 0.0f, out);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[2], 200);
  CosInterp(a, b, c, d, 0.5f, 0.0f, out);  // halfway between a and b
  EXPECT_EQ(out[0], 100);                  // cosine weight exactly 0.5 in single precision
  EXPECT_EQ(out[1], 100);
  CosInterp(a, b, c, d, 0.0f, 1.0f, out);  // a full step down lands on c
  EXPECT_EQ(out[0], 40);
}

using TexgenSample = LayersOf<8, 8>;

TEST_F(TexgenSample, WholeCoordinatesReadThePixelAndNegativesWrap) {
  FillDistinct(0);
  std::uint8_t out[3];
  Sample(0, 3.0f, 5.0f, out);
  EXPECT_EQ((Rgb{out[0], out[1], out[2]}), PixelOf(0, 3, 5));
  Sample(0, -1.0f, -2.0f, out);
  EXPECT_EQ((Rgb{out[0], out[1], out[2]}), PixelOf(0, 7, 6));
  Sample(0, 8.0f + 3.0f, 16.0f + 5.0f, out);  // whole turns of the torus
  EXPECT_EQ((Rgb{out[0], out[1], out[2]}), PixelOf(0, 3, 5));
}

TEST(TexgenHsv, RoundTripKeepsColoursWithinTruncation) {
  for (int r = 0; r < 256; r += 15) {
    for (int g = 0; g < 256; g += 17) {
      for (int b = 0; b < 256; b += 51) {
        const std::uint8_t rgb[3] = {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                     static_cast<std::uint8_t>(b)};
        const Hsv hsv = RgbToHsv(rgb);
        const RealRgb back = HsvToRgb(hsv.h, hsv.s, hsv.v);
        EXPECT_NEAR(static_cast<double>(back.r), r, 0.01) << r << "," << g << "," << b;
        EXPECT_NEAR(static_cast<double>(back.g), g, 0.01) << r << "," << g << "," << b;
        EXPECT_NEAR(static_cast<double>(back.b), b, 0.01) << r << "," << g << "," << b;
      }
    }
  }
}

TEST(TexgenHsv, KnownConversions) {
  const std::uint8_t grey[3] = {90, 90, 90};
  EXPECT_EQ(RgbToHsv(grey).h, -1.0f);
  EXPECT_EQ(RgbToHsv(grey).s, 0.0f);
  const std::uint8_t blue[3] = {0, 0, 255};
  EXPECT_FLOAT_EQ(RgbToHsv(blue).h, 240.0f);
  const std::uint8_t magenta[3] = {255, 0, 128};
  const Hsv m = RgbToHsv(magenta);
  EXPECT_GE(m.h, 0.0f);  // a negative hue is brought into 0 to 360
  EXPECT_LT(m.h, 360.0f);
  // Hues outside 0 to 360 wrap, also huge and infinite ones, without looping for ever.
  const RealRgb red = HsvToRgb(720.0f, 1.0f, 255.0f);
  EXPECT_EQ(static_cast<int>(red.r), 255);
  EXPECT_EQ(static_cast<int>(red.g), 0);
  for (float hue : {3e38f, -3e38f, INFINITY, -INFINITY}) {
    const RealRgb c = HsvToRgb(hue, 0.5f, 200.0f);
    for (long double channel : {c.r, c.g, c.b}) {
      EXPECT_GE(channel, 0.0L);
      EXPECT_LE(channel, 200.0L);
    }
  }
}

}  // namespace

namespace {

TEST(TexgenNumeric, TruncationTowardZeroForEveryMagnitude) {
  EXPECT_EQ(TruncateReal(2.9999999999999999L), 2);  // rounds to 3 in double precision
  EXPECT_EQ(TruncateReal(-2.9999999999999999L), -2);
  EXPECT_EQ(TruncateReal(-0.5L), 0);
  EXPECT_EQ(TruncateReal(255.99999L), 255);
  EXPECT_EQ(TruncateReal(4503599627370495.75L), 4503599627370495);  // just below 2^52
  EXPECT_EQ(TruncateReal(-4503599627370495.75L), -4503599627370495);
  EXPECT_EQ(TruncateReal(1152921504606846976.5L), 1152921504606846976);  // 2^60 + 1/2
  EXPECT_EQ(TruncateReal(9223372036854775807.0L), INT64_MAX);  // exact in 64 significant bits
  EXPECT_EQ(TruncateReal(9223372036854775808.0L), kIntegerIndefinite);
  EXPECT_EQ(TruncateReal(-9223372036854775808.0L), kIntegerIndefinite);
  EXPECT_EQ(TruncateReal(std::nanl("")), kIntegerIndefinite);
  EXPECT_EQ(TruncateReal(-INFINITY), kIntegerIndefinite);
  EXPECT_EQ(RoundReal(2.5L), 2);
  EXPECT_EQ(RoundReal(3.5L), 4);
  EXPECT_EQ(ParamInt(4294967301.0f), 0);  // keeps the low 32 bits: 2^32 + 5 is not a single
  EXPECT_EQ(ParamInt(-7.9f), -7);
  EXPECT_EQ(ParamInt(3e9f), -1294967296);
}

TEST(TexgenNumeric, FastSinglesMatchTheExtendedEvaluation) {
  std::mt19937 rng(17);
  std::uniform_real_distribution<float> fraction(-1.0f, 1.0f), angle(-5000.0f, 5000.0f);
  for (int i = 0; i < 200000; ++i) {
    const float f = i < 1000 ? static_cast<float>(i) / 1000.0f : fraction(rng);
    const float weight =
        static_cast<float>(0.5L * (1.0L - std::cos(static_cast<long double>(kPi) * f)));
    ASSERT_EQ(CosineWeight(f), weight) << f;
    const float x = angle(rng);
    ASSERT_EQ(SingleCos(x), static_cast<float>(std::cos(static_cast<long double>(x)))) << x;
    ASSERT_EQ(SingleSin(x), static_cast<float>(std::sin(static_cast<long double>(x)))) << x;
  }
}

}  // namespace
