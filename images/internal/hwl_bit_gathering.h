// Comparison results gathered into 64-bit words: bit i of words[i / 64] for value i, value 0 first.
//
// A test gives One(i), the bit of value i, and Block(i), the bits of kBlock values from i on, lowest
// first, formed with vector compares. The portable and the AVX2 gatherers of the decoder share this
// loop; it calls nothing from the standard library, so the AVX2 file can instantiate it with its own
// tests without any AVX2 code standing in for portable code.
#pragma once

#include <cstdint>

template <unsigned kBlock, class Test>
inline void GatherBits(std::uint32_t count, std::uint64_t* words, const Test& test) {
  for (std::uint32_t begin = 0; begin < count; begin += 64) {
    const std::uint32_t end = count - begin < 64 ? count : begin + 64;
    std::uint64_t bits = 0;
    std::uint32_t i = begin;
    for (; i + kBlock <= end; i += kBlock) bits |= std::uint64_t{test.Block(i)} << (i - begin);
    for (; i < end; ++i) bits |= std::uint64_t{test.One(i)} << (i - begin);
    words[begin / 64] = bits;
  }
}
