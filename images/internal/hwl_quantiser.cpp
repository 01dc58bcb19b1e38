#include "images/internal/hwl_quantiser.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "images/internal/hwl_band_geometry.h"

namespace {

struct Range {
  double smallest = 1.0e8;
  double largest = -1.0e8;
};

// Calls visit(row pointer offset, first, end) over one band's row segments.
template <class ForEachSegment>
Range BandRange(const double* plane, std::uint32_t W, ForEachSegment forEachSegment) {
  Range range;
  forEachSegment([&](std::uint32_t y, std::uint32_t first, std::uint32_t end) {
    const double* row = plane + std::size_t{y} * W;
    for (std::uint32_t x = first; x < end; ++x) {
      range.smallest = std::min(range.smallest, row[x]);
      range.largest = std::max(range.largest, row[x]);
    }
  });
  return range;
}

double BandScale(const Range& range, int valueBits) {
  if (range.smallest == 0.0 && range.largest == 0.0) return 0.0;
  const double magnitude = std::max(std::fabs(range.smallest), std::fabs(range.largest));
  const long double top = static_cast<long double>((std::uint64_t{1} << std::clamp(valueBits, 0, 62)) - 1);
  return static_cast<double>(top / magnitude);
}

std::int32_t QuantisedValue(long double scale, double coefficient) {
  const long double product = scale * coefficient;
  // A finite band never leaves the int32 range; a NaN or infinite coefficient must not make llrint
  // undefined.
  if (std::isnan(product)) return 0;
  if (product >= 2147483647.5L) return std::numeric_limits<std::int32_t>::max();
  if (product < -2147483648.5L) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(std::llrint(product));
}

template <class ForEachSegment>
double QuantiseBand(const double* plane, std::int32_t* quantised, std::uint32_t W, int valueBits,
                    ForEachSegment forEachSegment) {
  const double scale = BandScale(BandRange(plane, W, forEachSegment), valueBits);
  forEachSegment([&](std::uint32_t y, std::uint32_t first, std::uint32_t end) {
    const std::size_t row = std::size_t{y} * W;
    for (std::uint32_t x = first; x < end; ++x) quantised[row + x] = QuantisedValue(scale, plane[row + x]);
  });
  return scale;
}

}  // namespace

void Quantise(const double* plane, std::int32_t* quantised, std::uint32_t W, std::uint32_t H, int lastLevel,
              int valueBits, double* scale) {
  for (int k = 0; k <= lastLevel; ++k) {
    scale[k] = QuantiseBand(plane, quantised, W, valueBits,
                            [&](auto visit) { ForEachDetailSegment(W, H, k, visit); });
  }
  scale[lastLevel + 1] = QuantiseBand(plane, quantised, W, valueBits,
                                      [&](auto visit) { ForEachApproximationSegment(W, H, lastLevel, visit); });
}

void Quantise(const std::array<const double*, 3>& planes, const std::array<std::int32_t*, 3>& quantised,
              std::uint32_t W, std::uint32_t H, int lastLevel, const std::array<int, 3>& valueBits,
              const std::array<double*, 3>& scales) {
  for (std::size_t c = 0; c < 3; ++c) Quantise(planes[c], quantised[c], W, H, lastLevel, valueBits[c], scales[c]);
}

std::uint64_t ZeroSmallDetails(double* plane, double threshold, std::uint32_t W, std::uint32_t H, int level) {
  const std::uint32_t keptWidth = ShiftedSize(W, level + 1);
  const std::uint32_t keptHeight = ShiftedSize(H, level + 1);
  std::uint64_t changed = 0;
  for (std::uint32_t y = 0; y < H; ++y) {
    double* row = plane + std::size_t{y} * W;
    for (std::uint32_t x = y < keptHeight ? keptWidth : 0; x < W; ++x) {
      if (row[x] != 0.0 && std::fabs(row[x]) <= threshold) {
        row[x] = 0.0;
        ++changed;
      }
    }
  }
  return changed;
}
