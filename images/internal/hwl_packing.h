// Packing of a channel's two streams.
//
// Symbols are 2 bits, four to a byte, the first in bits 0-1. Values are b bits each (0 to 8) in one
// continuous bit string, lowest bit first, so a value may straddle a byte boundary. The unpacked
// forms hold one byte per symbol or value, the way the coefficient decoder walks them.
#pragma once

#include <cstdint>
#include <span>

// Unpacks as many symbols as `symbols` holds; bytes missing from `packed` read as 0, so nothing is
// read past its end.
void UnpackSymbols(std::span<const std::uint8_t> packed, std::span<std::uint8_t> symbols);

// Unpacks as many values of `valueBits` bits (0 to 8) as `values` holds, keeping only those bits.
void UnpackValues(std::span<const std::uint8_t> packed, int valueBits, std::span<std::uint8_t> values);

// Packs the first `count` symbols of `buffer` into its own first ⌈count/4⌉ bytes and returns that
// length. Symbols keep their low 2 bits; unused high bits of the last byte are 0.
std::size_t PackSymbolsInPlace(std::span<std::uint8_t> buffer, std::uint32_t count);

// Packs the first `count` values of `buffer` (each cut to `valueBits` bits) into its own first
// ⌈count × valueBits / 8⌉ bytes and returns that length.
std::size_t PackValuesInPlace(std::span<std::uint8_t> buffer, std::uint32_t count, int valueBits);
