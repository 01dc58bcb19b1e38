#include "images/internal/hwl_packing.h"

#include <algorithm>

namespace {

std::uint8_t LowBitsMask(int bits) { return static_cast<std::uint8_t>((1u << bits) - 1); }

std::uint8_t PackedByte(std::span<const std::uint8_t> packed, std::size_t index) {
  return index < packed.size() ? packed[index] : 0;
}

}  // namespace

void UnpackSymbols(std::span<const std::uint8_t> packed, std::span<std::uint8_t> symbols) {
  for (std::size_t i = 0; i < symbols.size(); ++i) {
    const std::uint8_t byte = PackedByte(packed, i / 4);
    symbols[i] = static_cast<std::uint8_t>((byte >> (2 * (i % 4))) & 3);
  }
}

void UnpackValues(std::span<const std::uint8_t> packed, int valueBits, std::span<std::uint8_t> values) {
  const int bits = std::clamp(valueBits, 0, 8);
  if (bits == 8) {
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = PackedByte(packed, i);
    return;
  }
  const std::uint8_t mask = LowBitsMask(bits);
  std::uint64_t bit = 0;
  for (std::size_t i = 0; i < values.size(); ++i, bit += bits) {
    // Two bytes always hold a value of at most 8 bits, wherever it starts.
    const std::size_t byte = bit / 8;
    const unsigned pair = PackedByte(packed, byte) | (unsigned{PackedByte(packed, byte + 1)} << 8);
    values[i] = static_cast<std::uint8_t>((pair >> (bit % 8)) & mask);
  }
}

std::size_t PackSymbolsInPlace(std::span<std::uint8_t> buffer, std::uint32_t count) {
  const std::size_t bytes = (std::size_t{count} + 3) / 4;
  for (std::size_t out = 0; out < bytes; ++out) {
    // Byte `out` takes symbols 4 × out … 4 × out + 3, none of them before `out` itself, so packing in
    // place never overwrites a symbol still to be read.
    std::uint8_t byte = 0;
    for (std::size_t k = 0; k < 4 && 4 * out + k < count; ++k) {
      byte = static_cast<std::uint8_t>(byte | ((buffer[4 * out + k] & 3) << (2 * k)));
    }
    buffer[out] = byte;
  }
  return bytes;
}

std::size_t PackValuesInPlace(std::span<std::uint8_t> buffer, std::uint32_t count, int valueBits) {
  const int bits = std::clamp(valueBits, 0, 8);
  const std::size_t bytes = (std::size_t{count} * bits + 7) / 8;
  if (bits == 8) return bytes;
  const std::uint8_t mask = LowBitsMask(bits);
  unsigned accumulator = 0;  // bits not yet written, lowest first
  int held = 0;
  std::size_t out = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    // Output byte `out` is written only once 8 bits are held, by which time value i has been read;
    // out ≤ i × bits / 8 ≤ i, so no unread value is overwritten.
    accumulator |= unsigned{static_cast<std::uint8_t>(buffer[i] & mask)} << held;
    held += bits;
    while (held >= 8) {
      buffer[out++] = static_cast<std::uint8_t>(accumulator);
      accumulator >>= 8;
      held -= 8;
    }
  }
  if (held > 0) buffer[out++] = static_cast<std::uint8_t>(accumulator);
  return bytes;
}
