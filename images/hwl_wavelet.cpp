#include "images/hwl_wavelet.h"

#include <algorithm>
#include <bit>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "images/hwl_band_geometry.h"

namespace {
constexpr long double kC = kHaarScale;
}  // namespace

double HaarEven(double low, double high) { return static_cast<double>(kC * (static_cast<long double>(low) + high)); }

double HaarOdd(double low, double high) { return static_cast<double>(kC * (static_cast<long double>(low) - high)); }

namespace {

constexpr long double kOwnWeight = 0.8L;
constexpr long double kNeighbourWeight = 0.2L;

double Blended(double low, double neighbour) {
  return static_cast<double>(kC * (kOwnWeight * low + kNeighbourWeight * neighbour));
}

// Where an inner pair sits: the first and the last inner pair skip one of the outer comparisons.
enum class InnerPlace { First, Middle, Last, FirstAndLast };

// Whether the outputs of inner pair j blend (1 ≤ j ≤ n − 2): `low` points at L_j and `high` at H_j,
// the neighbouring pairs lie `s` values away in both. With a zero detail, each output blends towards
// its outer neighbour only where that neighbour's detail is zero too and the neighbouring values
// differ on both sides, so a flat stretch stays flat.
template <InnerPlace place>
inline bool EvenBlends(const double* low, const double* high, std::ptrdiff_t s) {
  constexpr bool last = place == InnerPlace::Last || place == InnerPlace::FirstAndLast;
  const double next = low[s];
  return high[0] == 0.0 && high[-s] == 0.0 && low[0] != next && (last || low[2 * s] != next);
}

template <InnerPlace place>
inline bool OddBlends(const double* low, const double* high, std::ptrdiff_t s) {
  constexpr bool first = place == InnerPlace::First || place == InnerPlace::FirstAndLast;
  const double previous = low[-s];
  return high[0] == 0.0 && high[s] == 0.0 && low[0] != previous && (first || low[-2 * s] != previous);
}

// Plain synthesis of `count` pairs: the outputs of pair i go to even[i × step] and odd[i × step].
// Every pair takes this first, and the blending outputs are overwritten afterwards, so the loop has
// no tests at all. A pair that neither blends nor has a detail keeps c × (L ± 0), which is c × L,
// the plain rule's value, up to the sign of an exact zero; no later step, comparison or byte
// conversion can tell the two zeros apart, so the pixels are the same.
void PlainPairs(const double* low, const double* high, std::size_t count, double* even, double* odd,
                std::ptrdiff_t step) {
  for (std::size_t i = 0; i < count; ++i) {
    even[static_cast<std::ptrdiff_t>(i) * step] = HaarEven(low[i], high[i]);
    odd[static_cast<std::ptrdiff_t>(i) * step] = HaarOdd(low[i], high[i]);
  }
}

// The blend tests of up to 64 inner pairs at once, one bit per pair (pair i at `low + i`, all in the
// same place of their lines), so that the outputs that blend are found without a branch per pair.
struct BlendMasks {
  std::uint64_t even = 0;
  std::uint64_t odd = 0;
};

template <InnerPlace place>
BlendMasks FindBlends(const double* low, const double* high, std::ptrdiff_t s, unsigned count) {
  BlendMasks masks;
  unsigned i = 0;
#if defined(__SSE2__)
  // Two pairs per step. cmpeq is false and cmpneq true for a NaN, exactly as == and != are.
  constexpr bool first = place == InnerPlace::First || place == InnerPlace::FirstAndLast;
  constexpr bool last = place == InnerPlace::Last || place == InnerPlace::FirstAndLast;
  const __m128d zero = _mm_setzero_pd();
  for (; i + 2 <= count; i += 2) {
    const double* l = low + i;
    const double* h = high + i;
    const __m128d own = _mm_loadu_pd(l);
    const __m128d previous = _mm_loadu_pd(l - s);
    const __m128d next = _mm_loadu_pd(l + s);
    const __m128d flat = _mm_cmpeq_pd(_mm_loadu_pd(h), zero);
    __m128d even = _mm_and_pd(_mm_and_pd(flat, _mm_cmpeq_pd(_mm_loadu_pd(h - s), zero)), _mm_cmpneq_pd(own, next));
    __m128d odd = _mm_and_pd(_mm_and_pd(flat, _mm_cmpeq_pd(_mm_loadu_pd(h + s), zero)), _mm_cmpneq_pd(own, previous));
    if constexpr (!last) even = _mm_and_pd(even, _mm_cmpneq_pd(_mm_loadu_pd(l + 2 * s), next));
    if constexpr (!first) odd = _mm_and_pd(odd, _mm_cmpneq_pd(_mm_loadu_pd(l - 2 * s), previous));
    masks.even |= std::uint64_t(_mm_movemask_pd(even)) << i;
    masks.odd |= std::uint64_t(_mm_movemask_pd(odd)) << i;
  }
#endif
  for (; i < count; ++i) {
    masks.even |= std::uint64_t{EvenBlends<place>(low + i, high + i, s)} << i;
    masks.odd |= std::uint64_t{OddBlends<place>(low + i, high + i, s)} << i;
  }
  return masks;
}

// Both outputs of every pair blend, as in a smooth stretch with zero details: c × (0.8 L + 0.2 × the
// neighbour), 0.8 L formed once for the two (in extended precision, exactly as each output would).
void BlendAllPairs(const double* low, std::ptrdiff_t s, std::size_t count, double* even, double* odd,
                   std::ptrdiff_t step) {
  for (std::size_t i = 0; i < count; ++i) {
    const double* l = low + i;
    const long double own = kOwnWeight * l[0];
    const std::ptrdiff_t out = static_cast<std::ptrdiff_t>(i) * step;
    even[out] = static_cast<double>(kC * (own + kNeighbourWeight * l[-s]));
    odd[out] = static_cast<double>(kC * (own + kNeighbourWeight * l[s]));
  }
}

// Inner pairs i = 0 … count − 1 at `low + i`, `high + i`, all in the same place of their lines
// (neighbours `s` away), outputs at even[i × step] and odd[i × step]. Groups of 64 where every output
// blends take the blend alone; the others take plain synthesis, then the blending outputs are
// overwritten.
template <InnerPlace place>
void InnerPairs(const double* low, const double* high, std::ptrdiff_t s, std::size_t count, double* even,
                double* odd, std::ptrdiff_t step) {
  for (std::size_t base = 0; base < count; base += 64) {
    const unsigned lanes = static_cast<unsigned>(std::min<std::size_t>(64, count - base));
    const std::uint64_t all = lanes == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << lanes) - 1;
    const double* l = low + base;
    const double* h = high + base;
    double* e = even + static_cast<std::ptrdiff_t>(base) * step;
    double* o = odd + static_cast<std::ptrdiff_t>(base) * step;
    BlendMasks masks = FindBlends<place>(l, h, s, lanes);
    if (masks.even == all && masks.odd == all) {
      BlendAllPairs(l, s, lanes, e, o, step);
      continue;
    }
    PlainPairs(l, h, lanes, e, o, step);
    for (; masks.even != 0; masks.even &= masks.even - 1) {
      const int i = std::countr_zero(masks.even);
      e[i * step] = Blended(l[i], l[i - s]);
    }
    for (; masks.odd != 0; masks.odd &= masks.odd - 1) {
      const int i = std::countr_zero(masks.odd);
      o[i * step] = Blended(l[i], l[i + s]);
    }
  }
}

// Vertical synthesis of pair j of every column of the source block (stride W): low row j and high row
// n + j give output rows 2j (`even`) and 2j + 1 (`odd`), w values each, walking memory row by row.
void VerticalPair(const double* source, std::uint32_t W, std::uint32_t w, std::uint32_t j, std::uint32_t n,
                  double* even, double* odd) {
  const double* low = source + std::size_t{j} * W;
  const double* high = low + std::size_t{n} * W;
  if (j == 0 || j + 1 >= n) return PlainPairs(low, high, w, even, odd, 1);
  const std::ptrdiff_t s = W;
  using Place = InnerPlace;
  if (n == 3) return InnerPairs<Place::FirstAndLast>(low, high, s, w, even, odd, 1);
  if (j == 1) return InnerPairs<Place::First>(low, high, s, w, even, odd, 1);
  if (j + 2 == n) return InnerPairs<Place::Last>(low, high, s, w, even, odd, 1);
  InnerPairs<Place::Middle>(low, high, s, w, even, odd, 1);
}

// Inner pair j of a line (1 ≤ j ≤ n − 2) on its own, outputs at out[2j] and out[2j + 1].
template <InnerPlace place>
void LineInnerPair(const double* low, const double* high, std::uint32_t j, double* out) {
  if (EvenBlends<place>(low + j, high + j, 1)) out[2 * j] = Blended(low[j], low[j - 1]);
  if (OddBlends<place>(low + j, high + j, 1)) out[2 * j + 1] = Blended(low[j], low[j + 1]);
}

// Horizontal synthesis of one line of w values (low half, then high half) into `out`.
void HorizontalLine(const double* line, std::uint32_t w, double* out) {
  const std::uint32_t n = w / 2;
  const double* low = line;
  const double* high = line + n;
  // The two pairs at each end take plain synthesis (the inner ones of them then their blends), the
  // pairs between them go through InnerPairs.
  if (n <= 4) {
    PlainPairs(low, high, n, out, out + 1, 2);
  } else {
    PlainPairs(low, high, 2, out, out + 1, 2);
    PlainPairs(low + n - 2, high + n - 2, 2, out + 2 * (n - 2), out + 2 * (n - 2) + 1, 2);
    InnerPairs<InnerPlace::Middle>(low + 2, high + 2, 1, n - 4, out + 4, out + 5, 2);
  }
  using Place = InnerPlace;
  if (n == 3) {
    LineInnerPair<Place::FirstAndLast>(low, high, 1, out);
  } else if (n > 3) {
    LineInnerPair<Place::First>(low, high, 1, out);
    LineInnerPair<Place::Last>(low, high, n - 2, out);
  }
  if (w % 2 != 0) out[w - 1] = 0.0;
}

// Source block (stride W) into scratch (stride w).
void VerticalStep(const double* source, std::uint32_t W, std::uint32_t w, std::uint32_t h, double* scratch) {
  const std::uint32_t n = h / 2;
  for (std::uint32_t j = 0; j < n; ++j) {
    double* even = scratch + std::size_t{2 * j} * w;
    VerticalPair(source, W, w, j, n, even, even + w);
  }
  if (h % 2 != 0) std::fill_n(scratch + std::size_t{h - 1} * w, w, 0.0);
}

// Scratch (stride w) into the destination block (stride W), one row at a time.
void HorizontalStep(const double* scratch, std::uint32_t w, std::uint32_t h, double* destination, std::uint32_t W) {
  for (std::uint32_t y = 0; y < h; ++y) HorizontalLine(scratch + std::size_t{y} * w, w, destination + std::size_t{y} * W);
}

void InverseStep(double* source, double* destination, std::uint32_t w, std::uint32_t h, std::uint32_t W,
                 double* scratch) {
  if (w == 0 || h == 0) return;
  VerticalStep(source, W, w, h, scratch);
  HorizontalStep(scratch, w, h, destination, W);
}

// After 32 halvings every size is 0, so deeper levels change nothing.
int EffectiveLevels(int k) { return std::clamp(k, 0, 32); }

void ForwardRows(const double* source, std::uint32_t W, std::uint32_t w, std::uint32_t h, double* scratch) {
  const std::uint32_t n = w / 2;
  for (std::uint32_t y = 0; y < h; ++y) {
    const double* in = source + std::size_t{y} * W;
    double* out = scratch + std::size_t{y} * w;
    for (std::uint32_t j = 0; j < n; ++j) {
      const double a = in[2 * j];
      const double b = in[2 * j + 1];
      out[j] = static_cast<double>(kC * (static_cast<long double>(b) + a));
      out[n + j] = static_cast<double>(kC * (static_cast<long double>(a) - b));
    }
    if (w % 2 != 0) out[w - 1] = 0.0;
  }
}

void ForwardColumns(const double* scratch, std::uint32_t w, std::uint32_t h, double* destination, std::uint32_t W) {
  const std::uint32_t n = h / 2;
  for (std::uint32_t j = 0; j < n; ++j) {
    const double* first = scratch + std::size_t{2 * j} * w;
    const double* second = first + w;
    double* sum = destination + std::size_t{j} * W;
    double* difference = destination + std::size_t{n + j} * W;
    for (std::uint32_t x = 0; x < w; ++x) {
      sum[x] = static_cast<double>(kC * (static_cast<long double>(second[x]) + first[x]));
      difference[x] = static_cast<double>(kC * (static_cast<long double>(first[x]) - second[x]));
    }
  }
  if (h % 2 != 0) std::fill_n(destination + std::size_t{h - 1} * W, w, 0.0);
}

void ForwardStep(const double* source, double* destination, std::uint32_t w, std::uint32_t h, std::uint32_t W,
                 std::vector<double>& scratch) {
  if (w == 0 || h == 0) return;
  ForwardRows(source, W, w, h, scratch.data());
  ForwardColumns(scratch.data(), w, h, destination, W);
}

}  // namespace

void InverseWaveletRowPair(const double* source, std::uint32_t w, std::uint32_t h, std::uint32_t W,
                           std::uint32_t j, double* scratch, double* even, double* odd) {
  VerticalPair(source, W, w, j, h / 2, scratch, scratch + w);
  HorizontalLine(scratch, w, even);
  HorizontalLine(scratch + w, w, odd);
}

void InverseWavelet(double* source, double* destination, std::uint32_t w, std::uint32_t h, std::uint32_t W,
                    std::uint32_t H, int k) {
  std::vector<double> scratch(std::size_t{w} * h);
  InverseWavelet(source, destination, w, h, W, H, k, scratch.data());
}

void InverseWavelet(double* source, double* destination, std::uint32_t w, std::uint32_t h, std::uint32_t W,
                    std::uint32_t /*H*/, int k, double* scratch) {
  for (int level = EffectiveLevels(k); level > 0; --level) {
    InverseStep(source, source, ShiftedSize(w, level), ShiftedSize(h, level), W, scratch);
  }
  InverseStep(source, destination, w, h, W, scratch);
}

void ForwardWavelet(const double* source, double* destination, std::uint32_t w, std::uint32_t h, std::uint32_t W,
                    std::uint32_t /*H*/, int k) {
  std::vector<double> scratch(std::size_t{w} * h);
  ForwardStep(source, destination, w, h, W, scratch);
  const int levels = EffectiveLevels(k);
  for (int level = 1; level <= levels; ++level) {
    ForwardStep(destination, destination, ShiftedSize(w, level), ShiftedSize(h, level), W, scratch);
  }
}
