// The decoder's widest loops once more for processors with AVX2, chosen at run time: the same exact
// comparisons and the same binary64 arithmetic in the same order, four values at a time instead of
// two, so the bytes that come out do not depend on which path ran.
//
// The file behind this header is the only one built for AVX2. It uses intrinsics and plain code
// only (no standard-library templates), so no inline function compiled for AVX2 can stand in for a
// portable one elsewhere in the program.
#pragma once

#include <cstddef>
#include <cstdint>

// Whether the processor and the system run AVX2 code, asked once. False where the build has no AVX2
// path (another processor family, or a compiler without the option).
bool HwlHasAvx2();
// Lets tests and benchmarks turn the AVX2 path off and on again (it starts on), to compare the two.
void HwlAllowAvx2(bool allowed);

// Bit i of words[i / 64] set where a[i] = 0 (ZeroBitsAvx2) or a[i] ≠ b[i] (DiffersBitsAvx2), exactly
// as == and != decide (−0 is zero, a NaN differs from everything); (count + 63) / 64 words are written.
void ZeroBitsAvx2(const double* a, std::uint32_t count, std::uint64_t* words);
void DiffersBitsAvx2(const double* a, const double* b, std::uint32_t count, std::uint64_t* words);

// The colour output shortcut four pixels at a time, pixels 0 … count − 1 rounded down to a multiple of
// four (the number returned). A pixel the shortcut cannot vouch for is handed to `exact`.
using ExactYuvPixel = void (*)(double y, double u, double v, std::uint8_t* pixel);
std::size_t StoreYuvPixelsAvx2(const double* y, const double* u, const double* v, std::size_t count,
                               std::uint8_t* pixels, ExactYuvPixel exact);
