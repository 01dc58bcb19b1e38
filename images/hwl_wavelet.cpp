#include "images/hwl_wavelet.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>

#include "images/hwl_band_geometry.h"

namespace {
constexpr long double kC = kHaarScale;
}  // namespace

double HaarEven(double low, double high) { return static_cast<double>(kC * (static_cast<long double>(low) + high)); }

double HaarOdd(double low, double high) { return static_cast<double>(kC * (static_cast<long double>(low) - high)); }

namespace {

constexpr long double kOwnWeight = 0.8L;
constexpr long double kNeighbourWeight = 0.2L;

double Scaled(double low) { return static_cast<double>(kC * low); }

double Blended(double low, double neighbour) {
  return static_cast<double>(kC * (kOwnWeight * low + kNeighbourWeight * neighbour));
}

// Where an inner pair sits: the first and the last inner pair skip one of the outer comparisons.
enum class InnerPlace { First, Middle, Last, FirstAndLast };

// Pair j of a line (1 ≤ j ≤ n − 2): `low` points at L_j and `high` at H_j, and the neighbouring pairs
// lie `s` values away in both. With a zero detail, each output blends towards its outer neighbour
// only where that neighbour's detail is zero too and the neighbouring values differ on both sides,
// so a flat stretch stays flat.
template <InnerPlace place>
inline void InnerPair(const double* low, const double* high, std::ptrdiff_t s, double* even, double* odd) {
  const double l = low[0];
  const double h = high[0];
  if (h != 0.0) {
    *even = HaarEven(l, h);
    *odd = HaarOdd(l, h);
    return;
  }
  constexpr bool first = place == InnerPlace::First || place == InnerPlace::FirstAndLast;
  constexpr bool last = place == InnerPlace::Last || place == InnerPlace::FirstAndLast;
  const double previous = low[-s];
  const double next = low[s];
  const bool evenBlends = high[-s] == 0.0 && l != next && (last || low[2 * s] != next);
  const bool oddBlends = high[s] == 0.0 && l != previous && (first || low[-2 * s] != previous);
  if (!evenBlends && !oddBlends) {
    *even = *odd = Scaled(l);
    return;
  }
  *even = evenBlends ? Blended(l, previous) : Scaled(l);
  *odd = oddBlends ? Blended(l, next) : Scaled(l);
}

// Calls inner(j, place) for inner pair j (1 ≤ j ≤ n − 2) with its place as a compile-time constant.
template <class Inner>
inline void SynthesisePair(std::uint32_t j, std::uint32_t n, Inner inner) {
  using Place = InnerPlace;
  if (n == 3) return inner(j, std::integral_constant<Place, Place::FirstAndLast>{});
  if (j == 1) return inner(j, std::integral_constant<Place, Place::First>{});
  if (j + 2 == n) return inner(j, std::integral_constant<Place, Place::Last>{});
  inner(j, std::integral_constant<Place, Place::Middle>{});
}

// One line of n pairs. `pair(j, place)` computes inner pair j, `outer(j)` an outer one; the inner
// pairs are split by place so the loop over the middle ones carries no position tests.
template <class Outer, class Inner>
inline void SynthesiseLine(std::uint32_t n, Outer outer, Inner inner) {
  if (n == 0) return;
  outer(0);
  if (n == 1) return;
  if (n == 3) {
    inner(1, std::integral_constant<InnerPlace, InnerPlace::FirstAndLast>{});
  } else if (n > 3) {
    inner(1, std::integral_constant<InnerPlace, InnerPlace::First>{});
    for (std::uint32_t j = 2; j + 2 < n; ++j) inner(j, std::integral_constant<InnerPlace, InnerPlace::Middle>{});
    inner(n - 2, std::integral_constant<InnerPlace, InnerPlace::Last>{});
  }
  outer(n - 1);
}

// Vertical synthesis of pair j of every column of the source block (stride W): low row j and high row
// n + j give output rows 2j (`even`) and 2j + 1 (`odd`), w values each, walking memory row by row.
void VerticalPair(const double* source, std::uint32_t W, std::uint32_t w, std::uint32_t j, std::uint32_t n,
                  double* even, double* odd) {
  const double* low = source + std::size_t{j} * W;
  const double* high = low + std::size_t{n} * W;
  if (j == 0 || j + 1 == n) {
    for (std::uint32_t x = 0; x < w; ++x) {
      even[x] = HaarEven(low[x], high[x]);
      odd[x] = HaarOdd(low[x], high[x]);
    }
    return;
  }
  auto columns = [&](auto place) {
    for (std::uint32_t x = 0; x < w; ++x) {
      InnerPair<decltype(place)::value>(low + x, high + x, std::ptrdiff_t{W}, even + x, odd + x);
    }
  };
  SynthesisePair(j, n, [&](std::uint32_t, auto place) { columns(place); });
}

// Horizontal synthesis of one line of w values (low half, then high half) into `out`.
void HorizontalLine(const double* line, std::uint32_t w, double* out) {
  const std::uint32_t n = w / 2;
  const double* low = line;
  const double* high = line + n;
  auto outer = [&](std::uint32_t j) {
    out[2 * j] = HaarEven(low[j], high[j]);
    out[2 * j + 1] = HaarOdd(low[j], high[j]);
  };
  auto inner = [&](std::uint32_t j, auto place) {
    InnerPair<decltype(place)::value>(low + j, high + j, 1, out + 2 * j, out + 2 * j + 1);
  };
  SynthesiseLine(n, outer, inner);
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
