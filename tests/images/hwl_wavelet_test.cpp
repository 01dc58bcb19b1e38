// The inverse transform's pair rule and its agreement with the plain Haar transform.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "images/internal/hwl_wavelet.h"

namespace {

using Plane = std::vector<double>;
constexpr long double kC = kHaarScale;

double Scaled(long double v) { return static_cast<double>(kC * v); }
double Blend(double own, double neighbour) { return Scaled(0.8L * own + 0.2L * neighbour); }

// Plain inverse Haar of one step, for comparison: no blending anywhere.
void PlainInverseStep(Plane& plane, std::uint32_t w, std::uint32_t h, std::uint32_t W) {
  Plane column(plane);
  for (std::uint32_t x = 0; x < w; ++x) {
    for (std::uint32_t j = 0; j < h / 2; ++j) {
      column[2 * j * W + x] = HaarEven(plane[j * W + x], plane[(h / 2 + j) * W + x]);
      column[(2 * j + 1) * W + x] = HaarOdd(plane[j * W + x], plane[(h / 2 + j) * W + x]);
    }
  }
  for (std::uint32_t y = 0; y < h; ++y) {
    for (std::uint32_t j = 0; j < w / 2; ++j) {
      plane[y * W + 2 * j] = HaarEven(column[y * W + j], column[y * W + w / 2 + j]);
      plane[y * W + 2 * j + 1] = HaarOdd(column[y * W + j], column[y * W + w / 2 + j]);
    }
  }
}

Plane PlainInverse(Plane plane, std::uint32_t W, std::uint32_t H, int k) {
  for (int level = k; level >= 0; --level) PlainInverseStep(plane, W >> level, H >> level, W);
  return plane;
}

Plane RandomPlane(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> value(-50.0, 50.0);
  Plane plane(size);
  for (auto& v : plane) v = value(random);
  return plane;
}

Plane Inverse(Plane source, std::uint32_t W, std::uint32_t H, int k) {
  Plane destination(source.size(), -1.0);
  InverseWavelet(source.data(), destination.data(), W, H, W, H, k);
  return destination;
}

TEST(HwlInverseWavelet, VerticalFourPairsBlendTowardsFlatNeighbours) {
  // A 2 × 8 block: column 0 carries L = 10, 20, 30, 40 over zero details; column 1 (the horizontal
  // detail) is 0, so each output row is c × the vertical result in both columns.
  Plane source(16, 0.0);
  for (int j = 0; j < 4; ++j) source[j * 2] = 10.0 * (j + 1);
  const Plane out = Inverse(source, 2, 8, 0);
  const double column[8] = {Scaled(10), Scaled(10), Blend(20, 10), Blend(20, 30),
                            Blend(30, 20), Blend(30, 40), Scaled(40), Scaled(40)};
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(out[y * 2], HaarEven(column[y], 0.0)) << "row " << y;
    EXPECT_EQ(out[y * 2 + 1], HaarOdd(column[y], 0.0)) << "row " << y;
  }
  EXPECT_NEAR(column[2], 0.7071067811865476 * 18, 1e-12);
  EXPECT_NEAR(column[3], 0.7071067811865476 * 22, 1e-12);
  EXPECT_NEAR(column[4], 0.7071067811865476 * 28, 1e-12);
  EXPECT_NEAR(column[5], 0.7071067811865476 * 32, 1e-12);
}

TEST(HwlInverseWavelet, HorizontalFourPairsFollowTheSameRule) {
  // An 8 × 2 block: the vertical step turns row 0 into c × L in both rows, then the horizontal step
  // blends those.
  Plane source(16, 0.0);
  for (int j = 0; j < 4; ++j) source[j] = 10.0 * (j + 1);
  const Plane out = Inverse(source, 8, 2, 0);
  const double L[4] = {Scaled(10), Scaled(20), Scaled(30), Scaled(40)};
  const double row[8] = {Scaled(L[0]), Scaled(L[0]), Blend(L[1], L[0]), Blend(L[1], L[2]),
                         Blend(L[2], L[1]), Blend(L[2], L[3]), Scaled(L[3]), Scaled(L[3])};
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(out[y * 8 + x], row[x]) << "x " << x << " y " << y;
  }
}

TEST(HwlInverseWavelet, BlendNeedsFlatNeighboursAndZeroDetails) {
  // Six pairs in column 0 of a 2 × 12 block; column 1, the horizontal detail, is 0, so output row y
  // of column 0 is HaarEven(vertical output y, 0). Pair 2 (L = 30) gives rows 4 and 5.
  auto rebuild = [](const std::vector<double>& low, const std::vector<double>& high) {
    Plane source(24, 0.0);
    for (int j = 0; j < 6; ++j) {
      source[j * 2] = low[j];
      source[(6 + j) * 2] = high[j];
    }
    return Inverse(source, 2, 12, 0);
  };
  const std::vector<double> low{10, 20, 30, 40, 50, 60};
  // All details zero: both outputs of pair 2 blend.
  Plane out = rebuild(low, {0, 0, 0, 0, 0, 0});
  EXPECT_EQ(out[2 * 4], HaarEven(Blend(30, 20), 0.0));
  EXPECT_EQ(out[2 * 5], HaarEven(Blend(30, 40), 0.0));
  // A non-zero detail in the previous pair stops the even blend only.
  out = rebuild(low, {0, 1, 0, 0, 0, 0});
  EXPECT_EQ(out[2 * 4], HaarEven(Scaled(30), 0.0));
  EXPECT_EQ(out[2 * 5], HaarEven(Blend(30, 40), 0.0));
  // A flat pair of neighbours above (L1 = L0) stops the odd blend of pair 2.
  out = rebuild({20, 20, 30, 40, 50, 60}, {0, 0, 0, 0, 0, 0});
  EXPECT_EQ(out[2 * 4], HaarEven(Blend(30, 20), 0.0));
  EXPECT_EQ(out[2 * 5], HaarEven(Scaled(30), 0.0));
  // An equal next value stops the even blend (L2 = L3).
  out = rebuild({10, 20, 30, 30, 50, 60}, {0, 0, 0, 0, 0, 0});
  EXPECT_EQ(out[2 * 4], HaarEven(Scaled(30), 0.0));
  // A flat pair beyond the next one (L4 = L3) stops the even blend too.
  out = rebuild({10, 20, 30, 40, 40, 60}, {0, 0, 0, 0, 0, 0});
  EXPECT_EQ(out[2 * 4], HaarEven(Scaled(30), 0.0));
  EXPECT_EQ(out[2 * 5], HaarEven(Blend(30, 40), 0.0));
  // A non-zero detail in the next pair stops the odd blend only.
  out = rebuild(low, {0, 0, 0, 2, 0, 0});
  EXPECT_EQ(out[2 * 4], HaarEven(Blend(30, 20), 0.0));
  EXPECT_EQ(out[2 * 5], HaarEven(Scaled(30), 0.0));
  // -0.0 is a zero detail.
  out = rebuild(low, {0, -0.0, -0.0, -0.0, 0, 0});
  EXPECT_EQ(out[2 * 4], HaarEven(Blend(30, 20), 0.0));
}

TEST(HwlInverseWavelet, TwoPairsAndTheDeepestTwoByTwoStepNeverBlend) {
  // W = H = 2^(lastLevel + 1) = 4: a 2 × 2 step then a 4 × 4 step, neither with inner pairs.
  Plane source = RandomPlane(16, 3);
  source[2] = source[8] = source[10] = 0.0;  // zero details that would blend if the rule applied
  EXPECT_EQ(Inverse(source, 4, 4, 1), PlainInverse(source, 4, 4, 1));
}

TEST(HwlInverseWavelet, NonZeroDetailsGiveThePlainHaarInverse) {
  const Plane source = RandomPlane(32 * 16, 5);
  EXPECT_EQ(Inverse(source, 32, 16, 2), PlainInverse(source, 32, 16, 2));
}

TEST(HwlInverseWavelet, FlatApproximationWithZeroDetailsStaysFlat) {
  Plane source(16 * 16, 0.0);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) source[y * 16 + x] = 42.0;
  }
  const Plane out = Inverse(source, 16, 16, 1);
  for (double v : out) EXPECT_EQ(v, out[0]);
  EXPECT_NEAR(out[0], 42.0 / 4, 1e-12);
}

// Equal, or both NaN (a NaN's payload and a zero's sign never reach a pixel).
bool SameValues(const Plane& a, const Plane& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!(a[i] == b[i] || (std::isnan(a[i]) && std::isnan(b[i])))) return false;
  }
  return true;
}

// High rows as a decoder streams them: copied into a ring of three rows as they are first asked for,
// each copy overwriting the row three before it, so a step that used a row outside the window its
// contract promises would read another row's values. Asking for such a row is recorded as well.
class RingDetailRows final : public DetailRows {
 public:
  RingDetailRows(const std::vector<std::int16_t>& plane, std::uint32_t w, std::uint32_t h)
      : plane_(plane), w_(w), n_(h / 2), ring_(3 * std::size_t{w}) {}
  const std::int16_t* Low(std::uint32_t r) override { return plane_.data() + r * std::size_t{w_}; }
  const std::int16_t* High(std::uint32_t r) override {
    if (r + 3 < made_ || r >= n_) outsideWindow = true;
    for (; made_ <= r; ++made_) {
      std::copy_n(plane_.data() + (n_ + std::size_t{made_}) * w_, w_, ring_.data() + made_ % 3 * std::size_t{w_});
    }
    return ring_.data() + r % 3 * std::size_t{w_};
  }
  bool outsideWindow = false;

 private:
  const std::vector<std::int16_t>& plane_;
  std::uint32_t w_, n_;
  std::vector<std::int16_t> ring_;
  std::uint32_t made_ = 0;
};

TEST(HwlInverseWavelet, LastStepFromQuantisedDetailsMatchesTheStoredTransform) {
  // The loader's last step: the coarser levels rebuilt in a quarter plane of their own, the finest
  // details still quantised, its high rows served from a ring as they are decoded. Its rows must
  // equal InverseWavelet on the dequantised plane. Mostly zero details over runs of equal values mix
  // blending, plain and all-zero groups of pairs, and 160 columns give groups of 64 pairs and a
  // remainder. Besides ordinary factors: products near the top
  // of the range, products that overflow to infinity, a subnormal factor, an infinite one (infinity
  // × 0 is NaN), NaN and zero.
  constexpr std::uint32_t W = 160, H = 24;
  const double kFactors[] = {1.0 / 3.7, -2.5, 1e300, 5e-324, 1e306, std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(), 0.0};
  for (double factor : kFactors) {
    std::mt19937 random(17);
    Plane plane(W * H);
    std::vector<std::int16_t> details(W * H, 0);
    for (std::uint32_t y = 0; y < H; ++y) {
      for (std::uint32_t x = 0; x < W; ++x) {
        const bool zero = random() % 4 != 0;
        const std::int16_t q = zero ? 0 : static_cast<std::int16_t>(random() % 2 ? 255 - int(random() % 4) : int(random() % 511) - 255);
        if (y < H / 2 && x < W / 2) {
          plane[y * W + x] = random() % 3 == 0 && x > 0 ? plane[y * W + x - 1] : double(random() % 40);
        } else {
          details[y * W + x] = q;
          plane[y * W + x] = factor * q;
        }
      }
    }
    const Plane whole = Inverse(plane, W, H, 2);
    Plane quarter((W / 2) * (H / 2));
    for (std::uint32_t y = 0; y < H / 2; ++y) {
      std::copy_n(plane.begin() + y * W, W / 2, quarter.begin() + y * (W / 2));
    }
    InverseWavelet(quarter.data(), quarter.data(), W / 2, H / 2, W / 2, H / 2, 1);
    const Plane rebuiltQuarter = quarter;
    PlaneRows quarterRows(quarter.data(), W / 2);
    RingDetailRows detailRows(details, W, H);
    RowPairInverseStep step(quarterRows, detailRows, factor, W, H);
    for (std::uint32_t j = 0; j < H / 2; ++j) {
      Plane even(W), odd(W);
      step.RowPair(j, even.data(), odd.data());
      EXPECT_TRUE(SameValues(even, Plane(whole.begin() + 2 * j * W, whole.begin() + (2 * j + 1) * W)))
          << "factor " << factor << ", row pair " << j;
      EXPECT_TRUE(SameValues(odd, Plane(whole.begin() + (2 * j + 1) * W, whole.begin() + (2 * j + 2) * W)))
          << "factor " << factor << ", row pair " << j;
    }
    EXPECT_EQ(quarter, rebuiltQuarter);  // the quarter is only read
    EXPECT_FALSE(detailRows.outsideWindow) << "factor " << factor;
  }
}

TEST(HwlWavelet, ForwardThenInverseGivesTheInputBack) {
  const Plane input = RandomPlane(64 * 32, 9);
  Plane coefficients(input.size());
  ForwardWavelet(input.data(), coefficients.data(), 64, 32, 64, 32, 3);
  const Plane out = Inverse(coefficients, 64, 32, 3);
  for (std::size_t i = 0; i < input.size(); ++i) ASSERT_NEAR(out[i], input[i], 1e-9) << i;
}

TEST(HwlWavelet, ForwardStepFormsSumsAndDifferences) {
  const Plane input{1, 3, 5, 11};  // 2 × 2
  Plane out(4);
  ForwardWavelet(input.data(), out.data(), 2, 2, 2, 2, 0);
  const double rowSum0 = Scaled(3.0L + 1), rowDifference0 = Scaled(1.0L - 3);
  const double rowSum1 = Scaled(11.0L + 5), rowDifference1 = Scaled(5.0L - 11);
  EXPECT_EQ(out[0], Scaled(static_cast<long double>(rowSum1) + rowSum0));
  EXPECT_EQ(out[1], Scaled(static_cast<long double>(rowDifference1) + rowDifference0));
  EXPECT_EQ(out[2], Scaled(static_cast<long double>(rowSum0) - rowSum1));
  EXPECT_EQ(out[3], Scaled(static_cast<long double>(rowDifference0) - rowDifference1));
}

}  // namespace
