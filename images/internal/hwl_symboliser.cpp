#include "images/internal/hwl_symboliser.h"

#include <algorithm>

namespace {

class SymbolWriter {
 public:
  SymbolWriter(std::span<std::uint8_t> symbols, std::uint32_t& symbolCount, std::span<std::uint8_t> values,
               std::uint32_t& valueCount)
      : symbols_(symbols), symbolCount_(symbolCount), values_(values), valueCount_(valueCount) {}

  void Symbol(std::uint32_t symbol) {
    if (symbolCount_ < symbols_.size()) symbols_[symbolCount_++] = static_cast<std::uint8_t>(symbol);
  }
  void Value(std::uint32_t value) {
    if (valueCount_ < values_.size()) values_[valueCount_++] = static_cast<std::uint8_t>(value);
  }

 private:
  std::span<std::uint8_t> symbols_;
  std::uint32_t& symbolCount_;
  std::span<std::uint8_t> values_;
  std::uint32_t& valueCount_;
};

// Zeros after index i that may join its run: stops at a non-zero, at `longest`, and before the
// plane's last coefficient.
std::uint64_t FollowingZeros(const std::int32_t* plane, std::uint64_t i, std::uint64_t size, std::uint64_t longest) {
  std::uint64_t k = 0;
  while (k < longest && i + k + 1 < size - 1 && plane[i + k + 1] == 0) ++k;
  return k;
}

std::uint32_t LowByte(std::int64_t magnitude) { return static_cast<std::uint32_t>(magnitude & 0xFF); }

}  // namespace

void Symbolise(const std::int32_t* plane, std::span<std::uint8_t> symbols, std::uint32_t& symbolCount,
               std::span<std::uint8_t> values, std::uint32_t& valueCount, std::uint32_t W, std::uint32_t H,
               int valueBits) {
  const int b = std::clamp(valueBits, 0, 8);
  const std::uint64_t longestRun = std::uint64_t{1} << (b + 2);
  const std::uint64_t threshold = static_cast<std::uint64_t>((b + 4) / 2);
  const std::uint64_t size = std::uint64_t{W} * H;
  SymbolWriter out(symbols, symbolCount, values, valueCount);
  for (std::uint64_t i = 0; i < size; ++i) {
    const std::int32_t coefficient = plane[i];
    if (coefficient > 0) {
      out.Symbol(2);
      out.Value(LowByte(coefficient));
    } else if (coefficient < 0) {
      out.Symbol(3);
      out.Value(LowByte(-std::int64_t{coefficient}));
    } else {
      const std::uint64_t k = FollowingZeros(plane, i, size, longestRun - 1);
      if (k <= threshold) {
        out.Symbol(0);
        continue;
      }
      out.Symbol(1);
      out.Value(static_cast<std::uint32_t>(k & ((std::uint64_t{1} << b) - 1)));
      out.Symbol(static_cast<std::uint32_t>(k >> b));
      i += k;
    }
  }
}
