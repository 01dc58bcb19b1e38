// The Haar wavelet transform of one channel, both ways.
//
// Planes hold W × H binary64 values with row stride W at every level; a step works on the top-left
// w × h block. The inverse adds one thing of its own: where a detail coefficient is exactly zero, an
// output sample beside a flat neighbouring pair is blended 20 % towards that neighbour, which softens
// the blocks that zeroed details would otherwise leave. Every expression is evaluated in extended
// precision and rounded to binary64 once, when stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr double kHaarScale = 0.7071067811865476;  // 1/√2 rounded to binary64

// The rows of a rebuilt quarter plane (w / 2 values each) as the step above it reads them, row r of
// 0 … h / 2 − 1, so that a quarter can be made a few rows at a time as it is read. The step asks for
// rows in a window that only moves down: a row it asks for is never more than four rows above the
// lowest-down row asked for before, and it keeps a row's pointer only until it has asked for a row
// four rows below that one.
class QuarterRows {
 public:
  virtual ~QuarterRows() = default;
  virtual const double* Row(std::uint32_t r) = 0;
};

// A quarter that is already a whole plane.
class PlaneRows final : public QuarterRows {
 public:
  PlaneRows(const double* plane, std::size_t stride) : plane_(plane), stride_(stride) {}
  const double* Row(std::uint32_t r) override { return plane_ + r * stride_; }

 private:
  const double* plane_;
  std::size_t stride_;
};

// The quantised rows of a step's w × h block, from its left edge: Low(r) is row r (the step reads its
// right half, the band beside the quarter) and High(r) is row h / 2 + r, for r in 0 … h / 2 − 1. The
// step asks for high rows in a window that only moves down, never for one more than two rows above
// the lowest-down high row asked for before, and uses a high row only until its next request; low
// rows it asks for in any order and may use two at once.
class DetailRows {
 public:
  virtual ~DetailRows() = default;
  virtual const std::int16_t* Low(std::uint32_t r) = 0;
  virtual const std::int16_t* High(std::uint32_t r) = 0;
};

// Detail rows held in a whole plane, the block at its top-left corner.
class PlaneDetailRows final : public DetailRows {
 public:
  PlaneDetailRows(const std::int16_t* plane, std::size_t stride, std::uint32_t h)
      : plane_(plane), stride_(stride), n_(h / 2) {}
  const std::int16_t* Low(std::uint32_t r) override { return plane_ + r * stride_; }
  const std::int16_t* High(std::uint32_t r) override { return plane_ + (n_ + std::size_t{r}) * stride_; }

 private:
  const std::int16_t* plane_;
  std::size_t stride_;
  std::uint32_t n_;
};

// One step of the inverse transform, one pair of output rows at a time, for a caller that uses the
// rebuilt block row by row. The step rebuilds a w × h block from its top-left quarter (the coarser
// levels, already rebuilt: `quarter`, see QuarterRows) and the detail bands around it (still
// quantised: `details`, see DetailRows, of which only the band positions are read; each value q
// stands for the dequantised coefficient factor × q). It applies the pair rule down the columns (low
// values from the top half, high values from the bottom half), then along each row (low from the
// left half, high from the right), pair j giving outputs 2j (even) and 2j + 1 (odd), c = 1/√2:
//
//   plain synthesis: even = c × (L_j + H_j), odd = c × (L_j − H_j), for the first and the last pair
//   and for every pair with H_j ≠ 0. An inner pair with H_j = 0 (−0 included) gives
//     even = c × (0.8 L_j + 0.2 L_{j−1})  if H_{j−1} = 0, L_j ≠ L_{j+1} and (j = n − 2 or L_{j+2} ≠ L_{j+1}),
//     odd  = c × (0.8 L_j + 0.2 L_{j+1})  if H_{j+1} = 0, L_j ≠ L_{j−1} and (j = 1 or L_{j−2} ≠ L_{j−1}),
//   and c × L_j where its condition fails.
//
// w and h are even. Both sources must outlive the object.
class RowPairInverseStep {
 public:
  RowPairInverseStep(QuarterRows& quarter, DetailRows& details, double factor, std::uint32_t w, std::uint32_t h);
  // Output rows 2j and 2j + 1 (w values each) into `even` and `odd`; j runs 0, 1, … h / 2 − 1 in
  // this order.
  void RowPair(std::uint32_t j, double* even, double* odd);

 private:
  const double* LowRow(std::int64_t r);   // the right half of low row r, dequantised
  const double* HighRow(std::int64_t r);  // high row r (row h / 2 + r), dequantised

  const double* QuarterRow(std::int64_t r);  // row r of the quarter, r clamped into 0 … h / 2 − 1

  QuarterRows* quarter_;
  DetailRows* details_;
  double factor_;
  std::uint32_t w_;
  std::uint32_t n_;
  // The dequantised rows a pair reads, low rows j − 2 … j + 2 and high rows j − 1 … j + 1, each
  // made once as j advances: row r lives in slot r mod 5 (low) or r mod 3 (high).
  std::vector<double> lowRows_;
  std::vector<double> highRows_;
  std::vector<double> vertical_;  // the vertical step's two output rows
  std::int64_t lowMade_ = 0;      // rows made so far
  std::int64_t highMade_ = 0;
  // The blend tests that successive pairs share, for the left and the right half of the columns.
  std::vector<std::uint64_t> blendWords_;
  std::uint32_t blendRows_[2] = {0, 0};
  // Where the blend tests of the detail bands come from: their dequantised values, the quantised
  // values themselves, or nowhere when a zero factor makes every detail value zero.
  enum class DetailTests { FromValues, FromQuantised, AllZero };
  static DetailTests TestsFor(double factor);
  DetailTests detailTests_;
};

// The plain Haar analysis from the finest level to the coarsest, k + 1 steps, each leaving the
// approximation in the top-left quarter of its block. `source` and `destination` may be the same.
void ForwardWavelet(const double* source, double* destination, std::uint32_t w, std::uint32_t h,
                    std::uint32_t W, std::uint32_t H, int k);
