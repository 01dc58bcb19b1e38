#include "images/hwl_wavelet.h"

#include <algorithm>
#include <cstddef>

#include "images/hwl_band_geometry.h"

namespace {

constexpr long double kC = kHaarScale;
constexpr long double kOwnWeight = 0.8L;
constexpr long double kNeighbourWeight = 0.2L;

double Scaled(double low) { return static_cast<double>(kC * low); }

double Blended(double low, double neighbour) {
  return static_cast<double>(kC * (kOwnWeight * low + kNeighbourWeight * neighbour));
}

// How the pairs of one line are reached: `low` points at L_j and `high` at H_j, and the neighbouring
// pairs lie `step` values away in both.
struct PairAccess {
  const double* low;
  const double* high;
  std::ptrdiff_t step;
};

// The outputs of an inner pair (1 ≤ j ≤ n − 2) whose detail coefficient is zero. Each output blends
// towards its outer neighbour only where that neighbour's detail is zero too and the neighbouring
// values differ on both sides, so a flat stretch stays flat.
void ZeroDetailPair(const PairAccess& pair, bool firstInner, bool lastInner, double& even, double& odd) {
  const std::ptrdiff_t s = pair.step;
  const double low = pair.low[0];
  const double previous = pair.low[-s];
  const double next = pair.low[s];
  const bool evenBlends = pair.high[-s] == 0.0 && low != next && (lastInner || pair.low[2 * s] != next);
  even = evenBlends ? Blended(low, previous) : Scaled(low);
  const bool oddBlends = pair.high[s] == 0.0 && low != previous && (firstInner || pair.low[-2 * s] != previous);
  odd = oddBlends ? Blended(low, next) : Scaled(low);
}

void InnerPair(const PairAccess& pair, std::uint32_t j, std::uint32_t n, double& even, double& odd) {
  const double high = pair.high[0];
  if (high != 0.0) {
    even = HaarEven(pair.low[0], high);
    odd = HaarOdd(pair.low[0], high);
    return;
  }
  ZeroDetailPair(pair, j == 1, j + 2 == n, even, odd);
}

// Source block (stride W) into scratch (stride w): rows 2j and 2j + 1 from low row j and high row
// h/2 + j, all columns at once so that memory is walked row by row.
void VerticalStep(const double* source, std::uint32_t W, std::uint32_t w, std::uint32_t h, double* scratch) {
  const std::uint32_t n = h / 2;
  for (std::uint32_t j = 0; j < n; ++j) {
    const double* low = source + std::size_t{j} * W;
    const double* high = source + std::size_t{n + j} * W;
    double* even = scratch + std::size_t{2 * j} * w;
    double* odd = even + w;
    const bool outer = j == 0 || j + 1 == n;
    for (std::uint32_t x = 0; x < w; ++x) {
      if (outer) {
        even[x] = HaarEven(low[x], high[x]);
        odd[x] = HaarOdd(low[x], high[x]);
      } else {
        InnerPair({low + x, high + x, std::ptrdiff_t{W}}, j, n, even[x], odd[x]);
      }
    }
  }
  if (h % 2 != 0) std::fill_n(scratch + std::size_t{h - 1} * w, w, 0.0);
}

// Scratch (stride w) into the destination block (stride W), one row at a time.
void HorizontalStep(const double* scratch, std::uint32_t w, std::uint32_t h, double* destination, std::uint32_t W) {
  const std::uint32_t n = w / 2;
  for (std::uint32_t y = 0; y < h; ++y) {
    const double* low = scratch + std::size_t{y} * w;
    const double* high = low + n;
    double* out = destination + std::size_t{y} * W;
    for (std::uint32_t j = 0; j < n; ++j) {
      if (j == 0 || j + 1 == n) {
        out[2 * j] = HaarEven(low[j], high[j]);
        out[2 * j + 1] = HaarOdd(low[j], high[j]);
      } else {
        InnerPair({low + j, high + j, 1}, j, n, out[2 * j], out[2 * j + 1]);
      }
    }
    if (w % 2 != 0) out[w - 1] = 0.0;
  }
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

double HaarEven(double low, double high) { return static_cast<double>(kC * (static_cast<long double>(low) + high)); }

double HaarOdd(double low, double high) { return static_cast<double>(kC * (static_cast<long double>(low) - high)); }

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
