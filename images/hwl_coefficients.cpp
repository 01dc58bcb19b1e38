#include "images/hwl_coefficients.h"

#include <algorithm>

#include "images/hwl_band_geometry.h"

namespace {

// Decodes while both streams last; returns the index of the first coefficient not written.
class CoefficientDecoder {
 public:
  CoefficientDecoder(std::span<const std::uint8_t> symbols, std::span<const std::uint8_t> values, int valueBits,
                     std::int32_t* plane, std::uint64_t size)
      : symbols_(symbols), values_(values), runUnit_(RunUnit(valueBits)), plane_(plane), size_(size) {}

  std::uint64_t Run() {
    // Every step writes at least one coefficient or stops, so this ends after at most `size` steps.
    while (next_ < size_ && symbol_ < symbols_.size() && Step()) {
    }
    return next_;
  }

 private:
  static std::uint64_t RunUnit(int valueBits) { return std::uint64_t{1} << std::clamp(valueBits, 0, 31); }

  bool Step() {
    switch (symbols_[symbol_] & 3) {
      case 0:
        plane_[next_++] = 0;
        ++symbol_;
        return true;
      case 1: return ZeroRun();
      case 2: return Magnitude(+1);
      default: return Magnitude(-1);
    }
  }

  bool ZeroRun() {
    if (symbol_ + 1 >= symbols_.size() || value_ >= values_.size()) return false;
    const std::uint64_t high = symbols_[symbol_ + 1] & 3;
    const std::uint64_t length = values_[value_] + high * runUnit_ + 1;
    const std::uint64_t end = std::min(size_, next_ + length);
    std::fill(plane_ + next_, plane_ + end, 0);
    next_ = end;
    symbol_ += 2;
    ++value_;
    return true;
  }

  bool Magnitude(int sign) {
    if (value_ >= values_.size()) return false;
    plane_[next_++] = sign * static_cast<std::int32_t>(values_[value_++]);
    ++symbol_;
    return true;
  }

  std::span<const std::uint8_t> symbols_;
  std::span<const std::uint8_t> values_;
  std::uint64_t runUnit_;
  std::int32_t* plane_;
  std::uint64_t size_;
  std::uint64_t next_ = 0;
  std::size_t symbol_ = 0;
  std::size_t value_ = 0;
};

double BandFactor(double scale) {
  if (scale == 0.0) return 0.0;
  return static_cast<double>(1.0L / scale);
}

// An int32 of at most 11 significant bits times a binary64 is exact in the 64-bit extended mantissa,
// so rounding that product to binary64 equals the binary64 product. Decoded magnitudes are at most
// 255, so a segment normally takes the plain binary64 loop (which the compiler vectorises); only a
// segment holding a larger integer goes through extended precision.
constexpr std::int32_t kExactLimit = 2048;

bool AllExactInBinary64(const std::int32_t* in, std::uint32_t first, std::uint32_t end) {
  std::int32_t smallest = 0;
  std::int32_t largest = 0;
  for (std::uint32_t x = first; x < end; ++x) {
    smallest = std::min(smallest, in[x]);
    largest = std::max(largest, in[x]);
  }
  return smallest > -kExactLimit && largest < kExactLimit;
}

void DequantiseSegment(const std::int32_t* in, double* out, std::uint32_t first, std::uint32_t end, double factor) {
  if (AllExactInBinary64(in, first, end)) {
    for (std::uint32_t x = first; x < end; ++x) out[x] = factor * in[x];
    return;
  }
  const long double wideFactor = factor;
  for (std::uint32_t x = first; x < end; ++x) out[x] = static_cast<double>(wideFactor * in[x]);
}

}  // namespace

void DecodeCoefficients(std::span<const std::uint8_t> symbols, std::span<const std::uint8_t> values,
                        std::uint32_t width, std::uint32_t height, int valueBits, std::int32_t* plane) {
  const std::uint64_t size = std::uint64_t{width} * height;
  CoefficientDecoder decoder(symbols, values, valueBits, plane, size);
  const std::uint64_t written = decoder.Run();
  std::fill(plane + written, plane + size, 0);
}

void Dequantise(const std::int32_t* in, std::uint32_t W, std::uint32_t H, int lastLevel, const double* scale,
                double* out) {
  auto dequantiseBand = [&](double factor) {
    return [&, factor](std::uint32_t y, std::uint32_t first, std::uint32_t end) {
      const std::size_t row = std::size_t{y} * W;
      DequantiseSegment(in + row, out + row, first, end, factor);
    };
  };
  for (int k = 0; k <= lastLevel; ++k) ForEachDetailSegment(W, H, k, dequantiseBand(BandFactor(scale[k])));
  ForEachApproximationSegment(W, H, lastLevel, dequantiseBand(BandFactor(scale[lastLevel + 1])));
}
