// The generator's numeric helpers: random numbers, square roots, interpolation, HSV, conversions.
#include "texgen/internal/numeric.h"

#include <cmath>

#include "support.h"

namespace {

TEST(TexgenNumeric, RandomSequenceRootsInterpolationTruncationAndRounding) {
  SeedRandom(1);
  for (auto [value, state] : {std::pair{346u, 22695477u}, {32552u, 2133350137u}, {10851u, 711188365u}}) {
    EXPECT_EQ(NextRandom(), value);
    EXPECT_EQ(randomState, state);
  }
  randomState = 0;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(NextRandom(), 0u);  // 0 stays 0
  // ISqrt may end one above the floor; FastSqrt is exact on even powers of two, linear between.
  const std::pair<unsigned, unsigned> roots[] = {{0, 0},  {1, 1},       {8, 3},       {15, 3},
                                                 {24, 4}, {65025, 255}, {32768, 181}, {4294836225u, 65535}};
  for (auto [n, root] : roots) EXPECT_EQ(ISqrt(n), root) << n;
  const std::pair<float, float> fast[] = {{1, 1}, {4, 2}, {16, 4}, {0.25f, 0.5f}, {9, 3.125f}, {2, 1.5f}};
  for (auto [v, root] : fast) EXPECT_EQ(FastSqrt(v), root) << v;
  // b is one step right of a, c one down; the weight of 0.5 is 0.5, negatives weigh the same.
  const std::uint8_t a[3] = {0, 100, 200}, b[3] = {200, 100, 0}, c[3] = {40, 40, 40}, d[3] = {};
  const std::tuple<float, float, Rgb> blends[] = {
      {0.5f, 0, {100, 100, 100}}, {-0.5f, 0, {100, 100, 100}}, {0, 1, {40, 40, 40}}, {0, 0.5f, {20, 70, 120}}};
  for (Rgb out; auto [fx, fy, result] : blends)
    EXPECT_EQ((CosInterp(a, b, c, d, fx, fy, out.data()), out), result) << fx << "," << fy;
  // Toward zero, also just below 2^52 and 2^60 where a double would round; what no 64-bit integer
  // holds becomes the integer indefinite. Rounding takes halves to even.
  const std::pair<long double, std::int64_t> truncated[] = {
      {2.9999999999999999L, 2}, {-2.9999999999999999L, -2}, {-0.5L, 0}, {255.99999L, 255},
      {4503599627370495.75L, 4503599627370495}, {-4503599627370495.75L, -4503599627370495},
      {1152921504606846976.5L, 1152921504606846976}, {9223372036854775807.0L, INT64_MAX},
      {9223372036854775808.0L, kIntegerIndefinite}, {-9223372036854775808.0L, kIntegerIndefinite},
      {std::nanl(""), kIntegerIndefinite}, {-INFINITY, kIntegerIndefinite}};
  for (auto [value, whole] : truncated) EXPECT_EQ(TruncateReal(value), whole) << value;
  for (auto [value, whole] : {std::pair{2.5L, 2}, {3.5L, 4}, {-2.5L, -2}}) EXPECT_EQ(RoundReal(value), whole) << value;
  // Integer parameters keep the low 32 bits (2^32 + 5 is not a single); flags are exactly 1.
  for (auto [value, whole] : {std::pair{4294967301.0f, 0}, {-7.9f, -7}, {3e9f, -1294967296}})
    EXPECT_EQ(ParamInt(value), whole) << value;
  EXPECT_TRUE(ParamFlag(1.0f) && !ParamFlag(1.0000001f) && !ParamFlag(2.0f));
}

TEST(TexgenNumeric, HsvConversionsAndFastSingles) {
  for (int i = 0; i < 18 * 16 * 6; ++i) {  // the round trip keeps colours
    const Rgb rgb{std::uint8_t(i / 96 * 15), std::uint8_t(i / 6 % 16 * 17), std::uint8_t(i % 6 * 51)};
    const Hsv hsv = RgbToHsv(rgb.data());
    const RealRgb back = HsvToRgb(hsv.h, hsv.s, hsv.v);
    for (int k = 0; k < 3; ++k) ASSERT_NEAR(double(k == 0 ? back.r : k == 1 ? back.g : back.b), rgb[k], 0.01) << i;
  }
  const std::tuple<Rgb, float, float> known[] = {
      {{90, 90, 90}, -1, 0}, {{0, 0, 255}, 240, 1}, {{255, 0, 128}, 329.882355f, 1}, {{255, 128, 0}, 30.1176472f, 1}};
  for (auto [rgb, h, s] : known)
    EXPECT_EQ(std::pair(RgbToHsv(rgb.data()).h, RgbToHsv(rgb.data()).s), std::pair(h, s))
        << int{rgb[0]} << "," << int{rgb[1]};
  const RealRgb red = HsvToRgb(720.0f, 1.0f, 255.0f);  // hues outside 0 to 360 wrap
  EXPECT_EQ(std::pair(static_cast<int>(red.r), static_cast<int>(red.g)), std::pair(255, 0));
  for (float hue : {3e38f, -3e38f, INFINITY, -INFINITY}) {  // ... without looping for ever
    const RealRgb c = HsvToRgb(hue, 0.5f, 200.0f);
    for (long double channel : {c.r, c.g, c.b}) EXPECT_TRUE(channel >= 0 && channel <= 200) << hue;
  }
  // The double-precision shortcuts must round to the same single as the extended evaluation.
  std::mt19937 rng(17);
  std::uniform_real_distribution<float> fraction(-1.0f, 1.0f), angle(-5000.0f, 5000.0f);
  for (int i = 0; i < 200000; ++i) {
    const float f = i < 1000 ? static_cast<float>(i) / 1000.0f : fraction(rng), x = angle(rng);
    ASSERT_EQ(CosineWeight(f), static_cast<float>(0.5L * (1.0L - std::cos(static_cast<long double>(kPi) * f)))) << f;
    ASSERT_EQ(SingleCos(x), static_cast<float>(std::cos(static_cast<long double>(x)))) << x;
    ASSERT_EQ(SingleSin(x), static_cast<float>(std::sin(static_cast<long double>(x)))) << x;
  }
}

}  // namespace
