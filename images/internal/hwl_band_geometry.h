// Where the bands of a wavelet coefficient plane lie.
//
// Level k covers the top-left (W >> k) × (H >> k) block; its three detail bands are that block minus
// its own top-left quarter. The approximation band is the top-left (W >> (L + 1)) × (H >> (L + 1))
// block. Row by row, a level's detail bands are one segment per row: the right half of the rows above
// the quarter, whole rows below it. Every coefficient belongs to exactly one band.
#pragma once

#include <cstdint>

// Logical shift that treats shifts of 32 and more as clearing every bit.
inline std::uint32_t ShiftedSize(std::uint32_t size, int shift) {
  return shift >= 32 ? 0 : size >> shift;
}

// Calls visit(row, firstColumn, endColumn) for each row segment of level k's detail bands.
template <class Visit>
void ForEachDetailSegment(std::uint32_t W, std::uint32_t H, int k, Visit&& visit) {
  const std::uint32_t width = ShiftedSize(W, k);
  const std::uint32_t height = ShiftedSize(H, k);
  const std::uint32_t quarterWidth = ShiftedSize(W, k + 1);
  const std::uint32_t quarterHeight = ShiftedSize(H, k + 1);
  for (std::uint32_t y = 0; y < height; ++y) visit(y, y < quarterHeight ? quarterWidth : 0, width);
}

// Calls visit(row, 0, endColumn) for each row of the approximation band below `lastLevel`.
template <class Visit>
void ForEachApproximationSegment(std::uint32_t W, std::uint32_t H, int lastLevel, Visit&& visit) {
  const std::uint32_t width = ShiftedSize(W, lastLevel + 1);
  const std::uint32_t height = ShiftedSize(H, lastLevel + 1);
  for (std::uint32_t y = 0; y < height; ++y) visit(y, std::uint32_t{0}, width);
}
