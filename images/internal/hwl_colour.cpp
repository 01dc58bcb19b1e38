#include "images/internal/hwl_colour.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "images/internal/hwl_avx2.h"
#include "images/internal/hwl_wavelet.h"

namespace {

struct YuvSample {
  double y;
  double u;
  double v;
};

YuvSample RgbSampleToYuv(double r, double g, double b) {
  const double y = static_cast<double>((0.3L * r + 0.59L * g) + 0.11L * b);
  const double u = static_cast<double>(0.493L * (static_cast<long double>(b) - y));
  const double v = static_cast<double>(0.877L * (static_cast<long double>(r) - y));
  return {y, u, v};
}

void StoreBgr0(const RgbSample& sample, std::uint8_t* pixel) {
  pixel[0] = SampleToByte(sample.b);
  pixel[1] = SampleToByte(sample.g);
  pixel[2] = SampleToByte(sample.r);
  pixel[3] = 0;
}

#if defined(__SSE2__)
// The bytes depend on the exact extended-precision conversion only through the rounding boundaries
// 0.5, 1.5, … 254.5. Binary64 arithmetic with the same constants stays within about 1e-11 of the exact
// values for samples of moderate size, so wherever all three approximate values lie farther than
// kColourShortcutMargin from every half-integer they give the same bytes, and only the rare rest (and
// any NaN or huge sample) takes the extended-precision path.
//
// Adding and removing 2^52 rounds to the nearest integer, halves to even, by the binary64 addition
// itself (round-to-nearest, the mode the program runs in), for |v| < 2^51.
inline __m128d RoundToInteger(__m128d v) {
  const __m128d unit = _mm_set1_pd(4503599627370496.0);  // 2^52
  return _mm_sub_pd(_mm_add_pd(v, unit), unit);
}

inline __m128d Magnitude(__m128d v) { return _mm_andnot_pd(_mm_set1_pd(-0.0), v); }

// byte(v) for the shortcut, and in `exact` all ones where v may lie within the margin of a
// half-integer (|v − round(v)| not below 0.5 − margin; a NaN too, as the comparison is then false).
// Clamping the rounded value to [0, 255] gives what SampleToByte gives, and a NaN becomes 0 here,
// never an undefined conversion (its pixel takes the exact path).
inline __m128i ByteOf(__m128d v, __m128d& exact) {
  const __m128d rounded = RoundToInteger(v);
  exact = _mm_or_pd(exact, _mm_cmpnlt_pd(Magnitude(_mm_sub_pd(v, rounded)), _mm_set1_pd(0.5 - kColourShortcutMargin)));
  const __m128d clamped = _mm_min_pd(_mm_max_pd(rounded, _mm_setzero_pd()), _mm_set1_pd(255.0));
  return _mm_cvttpd_epi32(clamped);
}

// Two pixels: their BGR0 words into `pixels`, and a bit per pixel that needs the exact path.
inline int StoreTwoPixels(const double* y, const double* u, const double* v, std::uint8_t* pixels) {
  const __m128d luma = _mm_loadu_pd(y);
  const __m128d blueDifference = _mm_loadu_pd(u);
  const __m128d redDifference = _mm_loadu_pd(v);
  const __m128d red = _mm_add_pd(luma, _mm_mul_pd(_mm_set1_pd(1.140251), redDifference));
  const __m128d blue = _mm_add_pd(luma, _mm_mul_pd(_mm_set1_pd(2.028398), blueDifference));
  const __m128d green = _mm_mul_pd(
      _mm_set1_pd(1.694915),
      _mm_sub_pd(_mm_sub_pd(luma, _mm_mul_pd(_mm_set1_pd(0.3), red)), _mm_mul_pd(_mm_set1_pd(0.11), blue)));
  const __m128d size =
      _mm_add_pd(_mm_add_pd(Magnitude(luma), Magnitude(blueDifference)), Magnitude(redDifference));
  __m128d exact = _mm_cmpnlt_pd(size, _mm_set1_pd(kColourShortcutLimit));
  const __m128i blueByte = ByteOf(blue, exact);
  const __m128i greenByte = ByteOf(green, exact);
  const __m128i redByte = ByteOf(red, exact);
  const __m128i words =
      _mm_or_si128(_mm_or_si128(blueByte, _mm_slli_epi32(greenByte, 8)), _mm_slli_epi32(redByte, 16));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(pixels), words);
  return _mm_movemask_pd(exact);
}
#endif

}  // namespace

RgbSample YuvSampleToRgb(double y, double u, double v) {
  const double r = static_cast<double>(y + 1.140251L * v);
  const double b = static_cast<double>(y + 2.028398L * u);
  const double g = static_cast<double>(1.694915L * ((y - 0.3L * r) - 0.11L * b));
  return {r, g, b};
}

std::uint8_t SampleToByte(double v) {
  if (v <= 0.0) return 0;
  if (!(v < 255.0)) return 255;
  // 0 < v < 255: adding and removing 2^52 rounds to the nearest integer, halves to even, by the
  // binary64 addition itself (round-to-nearest, the mode the program runs in).
  constexpr double kUnit = 4503599627370496.0;  // 2^52
  return static_cast<std::uint8_t>(static_cast<int>((v + kUnit) - kUnit));
}

void StorePixels(const double* grey, std::size_t count, std::uint8_t* pixels) {
  for (std::size_t i = 0; i < count; ++i) pixels[i] = SampleToByte(grey[i]);
}

void StoreYuvPixels(const double* y, const double* u, const double* v, std::size_t count, std::uint8_t* pixels) {
  std::size_t i = 0;
  if (HwlHasAvx2()) {
    i = StoreYuvPixelsAvx2(y, u, v, count, pixels, [](double luma, double blue, double red, std::uint8_t* pixel) {
      StoreBgr0(YuvSampleToRgb(luma, blue, red), pixel);
    });
  }
#if defined(__SSE2__)
  for (; i + 2 <= count; i += 2) {
    const int exact = StoreTwoPixels(y + i, u + i, v + i, pixels + 4 * i);
    if (exact == 0) continue;
    for (std::size_t k = 0; k < 2; ++k) {
      if (exact >> k & 1) StoreBgr0(YuvSampleToRgb(y[i + k], u[i + k], v[i + k]), pixels + 4 * (i + k));
    }
  }
#endif
  for (; i < count; ++i) StoreBgr0(YuvSampleToRgb(y[i], u[i], v[i]), pixels + 4 * i);
}

void RgbToYuvForward(const double* r, const double* g, const double* b, double* y, double* u, double* v,
                     std::uint32_t w, std::uint32_t h, std::uint32_t W, std::uint32_t H, int lastLevel) {
  for (std::uint32_t row = 0; row < h; ++row) {
    for (std::size_t i = std::size_t{row} * W; i < std::size_t{row} * W + w; ++i) {
      const YuvSample sample = RgbSampleToYuv(r[i], g[i], b[i]);
      y[i] = sample.y;
      u[i] = sample.u;
      v[i] = sample.v;
    }
  }
  for (double* plane : {y, u, v}) ForwardWavelet(plane, plane, w, h, W, H, lastLevel);
}
