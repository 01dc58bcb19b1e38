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

// The last, full-size step of InverseWavelet one pair of output rows at a time, for a caller that uses
// the rebuilt block row by row and need not store it. `source` is the plane whose top-left quarter
// the coarser steps have rebuilt (InverseWavelet(source, source, w / 2, h / 2, W, H, k − 1)); output
// rows 2j and 2j + 1 (w values each, as InverseWavelet would store them) go to `even` and `odd`.
// `scratch` holds 2 × w values. `source` is only read.
void InverseWaveletRowPair(const double* source, std::uint32_t w, std::uint32_t h, std::uint32_t W,
                           std::uint32_t j, double* scratch, double* even, double* odd);

// The plain Haar analysis from the finest level to the coarsest, k + 1 steps, each leaving the
// approximation in the top-left quarter of its block. `source` and `destination` may be the same.
void ForwardWavelet(const double* source, double* destination, std::uint32_t w, std::uint32_t h,
                    std::uint32_t W, std::uint32_t H, int k);
