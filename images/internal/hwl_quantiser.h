// The writer's quantiser and the utilities that trade quality for size.
#pragma once

#include <array>
#include <cstdint>

// Band by band (the detail bands of levels 0 … lastLevel, then the approximation band): the scale is
// (2^valueBits − 1) / the band's largest magnitude (0 for an all-zero band), every coefficient becomes
// scale × coefficient rounded to the nearest int32, halves to even, and the scale is stored at the
// band's index of `scale` (lastLevel + 2 entries).
void Quantise(const double* plane, std::int32_t* quantised, std::uint32_t W, std::uint32_t H, int lastLevel,
              int valueBits, double* scale);

// The three-channel form: Y, U, V, each with its own valueBits and scale table.
void Quantise(const std::array<const double*, 3>& planes, const std::array<std::int32_t*, 3>& quantised,
              std::uint32_t W, std::uint32_t H, int lastLevel, const std::array<int, 3>& valueBits,
              const std::array<double*, 3>& scales);

// Sets to 0 every non-zero coefficient outside the top-left (W >> (level + 1)) × (H >> (level + 1))
// block whose magnitude is at most `threshold`; returns how many it changed.
std::uint64_t ZeroSmallDetails(double* plane, double threshold, std::uint32_t W, std::uint32_t H, int level);
