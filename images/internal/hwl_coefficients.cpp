#include "images/internal/hwl_coefficients.h"

#include <algorithm>

namespace {

std::uint64_t RunUnit(int valueBits) { return std::uint64_t{1} << std::clamp(valueBits, 0, 31); }

double BandFactor(double scale) {
  if (scale == 0.0) return 0.0;
  return static_cast<double>(1.0L / scale);
}

}  // namespace

CoefficientStream::CoefficientStream(std::span<const std::uint8_t> symbols, std::span<const std::uint8_t> values,
                                     int valueBits)
    : symbols_(symbols), values_(values), runUnit_(RunUnit(valueBits)) {}

void CoefficientStream::Fill(std::int32_t* out, std::size_t count) {
  std::size_t written = static_cast<std::size_t>(std::min<std::uint64_t>(pendingZeros_, count));
  std::fill(out, out + written, 0);
  pendingZeros_ -= written;
  if (!exhausted_) written = PlentifulSteps(out, count, written);
  // Every step writes at least one coefficient or exhausts the streams, so this ends.
  while (written < count && !exhausted_) exhausted_ = !Step(out, count, written);
  std::fill(out + written, out + count, 0);
}

std::size_t CoefficientStream::PlentifulSteps(std::int32_t* out, std::size_t count, std::size_t written) {
  const std::uint8_t* symbols = symbols_.data();
  const std::uint8_t* values = values_.data();
  std::size_t s = symbol_;
  std::size_t v = value_;
  // A step reads at most symbols s and s + 1 and value v, so none runs out while these hold.
  while (written < count && s + 1 < symbols_.size() && v < values_.size()) {
    const unsigned symbol = symbols[s] & 3;
    if (symbol == 1) {
      const std::uint64_t length = values[v] + (symbols[s + 1] & 3u) * runUnit_ + 1;
      const std::size_t now = static_cast<std::size_t>(std::min<std::uint64_t>(length, count - written));
      std::fill(out + written, out + written + now, 0);
      written += now;
      pendingZeros_ = length - now;  // non-zero only where the run fills the rest of `out`
      s += 2;
      ++v;
      continue;
    }
    // Symbols 0, 2 and 3 without a branch: the value is read in any case and kept, with its sign,
    // only for 2 and 3, which alone consume it.
    const std::int32_t magnitude = values[v];
    const std::int32_t negative = -static_cast<std::int32_t>(symbol == 3);
    const std::int32_t keep = -static_cast<std::int32_t>(symbol != 0);
    out[written++] = ((magnitude ^ negative) - negative) & keep;
    v += symbol != 0;
    ++s;
  }
  symbol_ = s;
  value_ = v;
  return written;
}

bool CoefficientStream::Step(std::int32_t* out, std::size_t count, std::size_t& written) {
  if (symbol_ >= symbols_.size()) return false;
  const int symbol = symbols_[symbol_] & 3;
  if (symbol == 1) return StartRun(out, count, written);
  if (symbol == 0) {
    out[written++] = 0;
    ++symbol_;
    return true;
  }
  if (value_ >= values_.size()) return false;
  const std::int32_t magnitude = values_[value_++];
  out[written++] = symbol == 2 ? magnitude : -magnitude;
  ++symbol_;
  return true;
}

bool CoefficientStream::StartRun(std::int32_t* out, std::size_t count, std::size_t& written) {
  if (symbol_ + 1 >= symbols_.size() || value_ >= values_.size()) return false;
  const std::uint64_t high = symbols_[symbol_ + 1] & 3;
  const std::uint64_t length = values_[value_] + high * runUnit_ + 1;
  const std::size_t now = static_cast<std::size_t>(std::min<std::uint64_t>(length, count - written));
  std::fill(out + written, out + written + now, 0);
  written += now;
  pendingZeros_ = length - now;
  symbol_ += 2;
  ++value_;
  return true;
}

std::vector<double> BandFactors(const double* scale, int lastLevel) {
  std::vector<double> factors(static_cast<std::size_t>(std::max(lastLevel, 0)) + 2);
  for (std::size_t k = 0; k < factors.size(); ++k) factors[k] = BandFactor(scale[k]);
  return factors;
}
