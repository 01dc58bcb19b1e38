#include "images/internal/hwl_avx2.h"

#include "images/internal/hwl_bit_gathering.h"
#include "images/internal/hwl_colour.h"

namespace {
bool avx2Allowed = true;
}  // namespace

void HwlAllowAvx2(bool allowed) { avx2Allowed = allowed; }

#if defined(KELVANE_HWL_AVX2)
#include <immintrin.h>

bool HwlHasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has && avx2Allowed;
}

namespace {

// The four comparison results of a vector as the low four bits.
inline std::uint64_t FourBits(__m256d mask) { return static_cast<std::uint64_t>(_mm256_movemask_pd(mask)); }

struct ZeroTest {
  const double* a;
  __m256d Four(std::uint32_t i) const { return _mm256_cmp_pd(_mm256_loadu_pd(a + i), _mm256_setzero_pd(), _CMP_EQ_OQ); }
  std::uint64_t Block(std::uint32_t i) const { return FourBits(Four(i)) | FourBits(Four(i + 4)) << 4; }
  bool One(std::uint32_t i) const { return a[i] == 0.0; }
};

// Unordered not-equal: true for a NaN, as != is.
struct DiffersTest {
  const double* a;
  const double* b;
  __m256d Four(std::uint32_t i) const {
    return _mm256_cmp_pd(_mm256_loadu_pd(a + i), _mm256_loadu_pd(b + i), _CMP_NEQ_UQ);
  }
  std::uint64_t Block(std::uint32_t i) const { return FourBits(Four(i)) | FourBits(Four(i + 4)) << 4; }
  bool One(std::uint32_t i) const { return a[i] != b[i]; }
};

// The colour shortcut (see kColourShortcutMargin), four pixels at a time.
inline __m256d RoundToInteger(__m256d v) {
  const __m256d unit = _mm256_set1_pd(4503599627370496.0);  // 2^52
  return _mm256_sub_pd(_mm256_add_pd(v, unit), unit);
}

inline __m256d Magnitude(__m256d v) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), v); }

// byte(v) by the shortcut as 32-bit lanes, and in `exact` all ones where v may lie within the margin
// of a half-integer, or is a NaN (the comparison is then false).
inline __m128i ByteOf(__m256d v, __m256d& exact) {
  const __m256d rounded = RoundToInteger(v);
  const __m256d off = Magnitude(_mm256_sub_pd(v, rounded));
  exact = _mm256_or_pd(exact, _mm256_cmp_pd(off, _mm256_set1_pd(0.5 - kColourShortcutMargin), _CMP_NLT_UQ));
  const __m256d clamped = _mm256_min_pd(_mm256_max_pd(rounded, _mm256_setzero_pd()), _mm256_set1_pd(255.0));
  return _mm256_cvttpd_epi32(clamped);
}

inline int StoreFourPixels(const double* y, const double* u, const double* v, std::uint8_t* pixels) {
  const __m256d luma = _mm256_loadu_pd(y);
  const __m256d blueDifference = _mm256_loadu_pd(u);
  const __m256d redDifference = _mm256_loadu_pd(v);
  const __m256d red = _mm256_add_pd(luma, _mm256_mul_pd(_mm256_set1_pd(1.140251), redDifference));
  const __m256d blue = _mm256_add_pd(luma, _mm256_mul_pd(_mm256_set1_pd(2.028398), blueDifference));
  const __m256d green = _mm256_mul_pd(
      _mm256_set1_pd(1.694915),
      _mm256_sub_pd(_mm256_sub_pd(luma, _mm256_mul_pd(_mm256_set1_pd(0.3), red)), _mm256_mul_pd(_mm256_set1_pd(0.11), blue)));
  const __m256d size =
      _mm256_add_pd(_mm256_add_pd(Magnitude(luma), Magnitude(blueDifference)), Magnitude(redDifference));
  __m256d exact = _mm256_cmp_pd(size, _mm256_set1_pd(kColourShortcutLimit), _CMP_NLT_UQ);
  const __m128i blueByte = ByteOf(blue, exact);
  const __m128i greenByte = ByteOf(green, exact);
  const __m128i redByte = ByteOf(red, exact);
  const __m128i words =
      _mm_or_si128(_mm_or_si128(blueByte, _mm_slli_epi32(greenByte, 8)), _mm_slli_epi32(redByte, 16));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), words);
  return _mm256_movemask_pd(exact);
}

}  // namespace

void ZeroBitsAvx2(const double* a, std::uint32_t count, std::uint64_t* words) { GatherBits<8>(count, words, ZeroTest{a}); }

void DiffersBitsAvx2(const double* a, const double* b, std::uint32_t count, std::uint64_t* words) {
  GatherBits<8>(count, words, DiffersTest{a, b});
}

std::size_t StoreYuvPixelsAvx2(const double* y, const double* u, const double* v, std::size_t count,
                               std::uint8_t* pixels, ExactYuvPixel exact) {
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const int flagged = StoreFourPixels(y + i, u + i, v + i, pixels + 4 * i);
    if (flagged == 0) continue;
    for (std::size_t k = 0; k < 4; ++k) {
      if (flagged >> k & 1) exact(y[i + k], u[i + k], v[i + k], pixels + 4 * (i + k));
    }
  }
  return i;
}

#else

#include <cstdlib>

// No AVX2 path in this build: HwlHasAvx2 says so, and the callers never reach the others.
bool HwlHasAvx2() { return false; }
void ZeroBitsAvx2(const double*, std::uint32_t, std::uint64_t*) { std::abort(); }
void DiffersBitsAvx2(const double*, const double*, std::uint32_t, std::uint64_t*) { std::abort(); }
std::size_t StoreYuvPixelsAvx2(const double*, const double*, const double*, std::size_t, std::uint8_t*,
                               ExactYuvPixel) {
  std::abort();
}

#endif
