// The Haar wavelet transform of one channel, both ways.
//
// Planes hold W × H binary64 values with row stride W at every level; a step works on the top-left
// w × h block. The inverse adds one thing of its own: where a detail coefficient is exactly zero, an
// output sample beside a flat neighbouring pair is blended 20 % towards that neighbour, which softens
// the blocks that zeroed details would otherwise leave. Every expression is evaluated in extended
// precision and rounded to binary64 once, when stored.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr double kHaarScale = 0.7071067811865476;  // 1/√2 rounded to binary64

// Synthesis of one pair (L, H): even = c × (L + H), odd = c × (L − H).
double HaarEven(double low, double high);
double HaarOdd(double low, double high);

// Rebuilds the top-left w × h block of `destination` from that of `source` in k + 1 steps, coarsest
// first. The coarser steps run in place in `source`, whose top-left quarter is overwritten. `source`
// and `destination` may be the same plane. Rows and columns that halving an odd size drops come out 0.
void InverseWavelet(double* source, double* destination, std::uint32_t w, std::uint32_t h, std::uint32_t W,
                    std::uint32_t H, int k);
// The same with a caller's scratch buffer of at least w × h values, so several channels can share one.
void InverseWavelet(double* source, double* destination, std::uint32_t w, std::uint32_t h, std::uint32_t W,
                    std::uint32_t H, int k, double* scratch);

// The plain Haar analysis from the finest level to the coarsest, k + 1 steps, each leaving the
// approximation in the top-left quarter of its block. `source` and `destination` may be the same.
void ForwardWavelet(const double* source, double* destination, std::uint32_t w, std::uint32_t h,
                    std::uint32_t W, std::uint32_t H, int k);
