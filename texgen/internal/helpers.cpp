#include "texgen/internal/helpers.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "texgen/internal/layers.h"
#include "texgen/internal/numeric.h"

std::uint32_t randomState = 0;

std::uint32_t NextRandom() {
  randomState *= 22695477u;  // unsigned arithmetic wraps modulo 2^32
  return randomState >> 16;
}

std::uint32_t ISqrt(std::uint32_t n) {
  if (n == 0) return 0;
  std::uint32_t x = n;
  std::uint32_t previous = 0;
  for (;;) {
    const std::uint32_t next = (n / x + x) / 2;
    if (previous - next <= 1u) return next;  // unsigned difference: 0 or 1 ends it
    previous = x = next;
  }
}

float FastSqrt(float v) {
  constexpr std::uint32_t kOne = 1065353216u;  // the pattern of 1.0
  const std::uint32_t shifted = std::bit_cast<std::uint32_t>(v) - kOne;
  const std::int32_t halved = std::bit_cast<std::int32_t>(shifted) >> 1;  // sign-extending
  return std::bit_cast<float>(std::bit_cast<std::uint32_t>(halved) + kOne);
}

float CosineWeight(float f) {
  if (f == 0.0f) return 0.0f;  // whole positions: cos 0 is exactly 1 in any precision
  const auto exact = [f] {
    return static_cast<float>(0.5L * (1.0L - std::cos(static_cast<long double>(kPi) * f)));
  };
  // pi (single) times a single is exact in double: 24 + 24 bits.
  const double x = static_cast<double>(kPi) * f;
  if (!(std::fabs(x) <= kFastTrigLimit)) return exact();
  const double approx = 0.5 * (1.0 - std::cos(x));
  return SingleNear(approx, kTrigBound, exact);
}

void CosInterp(const std::uint8_t* s00, const std::uint8_t* s10, const std::uint8_t* s01,
               const std::uint8_t* s11, float fx, float fy, std::uint8_t* out) {
  CosBlend(s00, s10, s01, s11, CosineWeight(fx), CosineWeight(fy), out);
}

void CosBlend(const std::uint8_t* s00, const std::uint8_t* s10, const std::uint8_t* s01,
              const std::uint8_t* s11, float a, float b, std::uint8_t* out) {
  const float w00 = static_cast<float>((1.0L - a) * (1.0L - b));
  const float w10 = static_cast<float>(static_cast<long double>(a) * (1.0L - b));
  const float w01 = static_cast<float>((1.0L - a) * b);
  const float w11 = static_cast<float>(static_cast<long double>(a) * b);
  for (int k = 0; k < 3; ++k) {
    const long double sum =
        static_cast<long double>(s00[k]) * w00 + static_cast<long double>(s10[k]) * w10 +
        static_cast<long double>(s01[k]) * w01 + static_cast<long double>(s11[k]) * w11;
    out[k] = TruncToByte(sum);
  }
}

void Sample(int layer, float x, float y, std::uint8_t* out) {
  const std::int64_t ix = TruncateReal(x);
  const std::int64_t iy = TruncateReal(y);
  // The fractions come from the coordinates widened to extended precision, then stored as singles.
  const float fx = static_cast<float>(static_cast<long double>(x) - static_cast<long double>(ix));
  const float fy = static_cast<float>(static_cast<long double>(y) - static_cast<long double>(iy));
  std::uint8_t* data = LayerData(layer);
  CosInterp(PixelAt(data, ix, iy), PixelAt(data, ix + 1, iy), PixelAt(data, ix, iy + 1),
            PixelAt(data, ix + 1, iy + 1), fx, fy, out);
}

Hsv RgbToHsv(const std::uint8_t* rgb) {
  const long double r = rgb[0], g = rgb[1], b = rgb[2];
  const long double max = std::max({r, g, b});
  const long double min = std::min({r, g, b});
  const float s = max == 0.0L ? 0.0f : static_cast<float>((max - min) / max);
  if (s == 0.0f) return Hsv{-1.0f, s, static_cast<float>(max)};
  const long double d = max - min;
  long double hue;
  if (max == r) {
    hue = (g - b) / d;
  } else if (max == g) {
    hue = 2.0L + (b - r) / d;
  } else {
    hue = 4.0L + (r - g) / d;
  }
  float h = static_cast<float>(hue * 60.0L);
  while (h < 0.0f) h = static_cast<float>(h + 360.0L);
  while (h >= 360.0f) h = static_cast<float>(h - 360.0L);
  return Hsv{h, s, static_cast<float>(max)};
}

namespace {

// Brings a hue into 0 to 360 by whole turns. A hue so large (or infinite) that single-precision
// steps of 360 no longer change it would loop forever; it is reduced with fmod first, and a hue
// that is not finite counts as 0.
float WrapHue(float h) {
  if (!std::isfinite(h)) return 0.0f;
  constexpr float kDirectTurns = 1048576.0f;  // beyond this many degrees, reduce with fmod
  if (std::fabs(h) > kDirectTurns) h = std::fmod(h, 360.0f);
  while (h < 0.0f) h = static_cast<float>(h + 360.0L);
  while (h >= 360.0f) h = static_cast<float>(h - 360.0L);
  return h;
}

}  // namespace

RealRgb HsvToRgb(float h, float s, float v) {
  h = WrapHue(h);
  const long double value = v;
  if (s == 0.0f) return RealRgb{value, value, value};
  const long double hh = static_cast<long double>(h) * 0.016666667L;
  const std::int64_t i = TruncateReal(hh);
  const long double f = hh - static_cast<long double>(i);
  const long double p = value * (1.0L - s);
  const long double q = value * (1.0L - f * s);
  const long double t = value * (1.0L - s * (1.0L - f));
  switch (i) {
    case 0:
      return RealRgb{value, t, p};
    case 1:
      return RealRgb{q, value, p};
    case 2:
      return RealRgb{p, value, t};
    case 3:
      return RealRgb{p, q, value};
    case 4:
      return RealRgb{t, p, value};
    default:
      return RealRgb{value, p, q};  // 5; anything else cannot come from a wrapped hue
  }
}
