#include "texgen/internal/filters.h"

#include <cstdlib>

#include "layer_test_support.h"

namespace {

using TexgenFilters = LayersOf<8, 8>;

TEST_F(TexgenFilters, UniformLayerFixedPoints) {
  const Rgb grey{77, 200, 3};
  FillRgb(0, grey);
  for (auto filter : {blurLayer, sharpenLayer, dilateLayer, erodeLayer, medianLayer}) {
    filter(0, 1);
    EXPECT_TRUE(LayerIsUniform(1, grey));
  }
  for (auto filter : {edgeHLayer, edgeVLayer}) {
    filter(0, 1);
    EXPECT_TRUE(LayerIsUniform(1, Rgb{0, 0, 0}));
  }
  embossLayer(0, 1);
  EXPECT_TRUE(LayerIsUniform(1, Rgb{181, 181, 181}));
  sculptureLayer(0, 1);
  EXPECT_TRUE(LayerIsUniform(1, Rgb{128, 128, 128}));
}

TEST_F(TexgenFilters, SingleWhitePixelUnderMorphologyAndMedian) {
  PutPixel(0, 0, 0, Rgb{255, 255, 255});  // at the corner: the square wraps round the torus
  dilateLayer(0, 1);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool near = (x <= 1 || x == 7) && (y <= 1 || y == 7);
      EXPECT_EQ(PixelOf(1, x, y)[0], near ? 255 : 0) << x << "," << y;
    }
  }
  erodeLayer(0, 2);
  EXPECT_TRUE(LayerIsUniform(2, Rgb{0, 0, 0}));
  medianLayer(0, 0);  // in place, through the scratch copy
  EXPECT_TRUE(LayerIsUniform(0, Rgb{0, 0, 0}));
}

TEST_F(TexgenFilters, MedianIsTheFifthLargest) {
  const int values[9] = {9, 1, 8, 2, 7, 3, 6, 4, 5};  // around (4, 4)
  for (int i = 0; i < 9; ++i) {
    const auto v = static_cast<std::uint8_t>(values[i] * 10);
    PutPixel(0, 3 + i % 3, 3 + i / 3, Rgb{v, v, v});
  }
  medianLayer(0, 1);
  EXPECT_EQ(PixelOf(1, 4, 4)[0], 50);
}

TEST_F(TexgenFilters, BlurSharpenAndEdgesOnAStep) {
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) PutPixel(0, x, y, x < 4 ? Rgb{0, 0, 0} : Rgb{100, 100, 100});
  }
  blurLayer(0, 1);
  EXPECT_EQ(PixelOf(1, 3, 2)[0], 25);  // (4 x 100) >> 4
  EXPECT_EQ(PixelOf(1, 4, 2)[0], 75);
  sharpenLayer(0, 1);
  EXPECT_EQ(PixelOf(1, 3, 2)[0], 0);    // limited below
  EXPECT_EQ(PixelOf(1, 4, 2)[0], 150);  // 250 - (200 >> 3) - (300 >> 2)
  edgeVLayer(0, 1);
  EXPECT_EQ(PixelOf(1, 3, 2)[0], 255);  // 2 x 400, capped
  EXPECT_EQ(PixelOf(1, 1, 2)[0], 0);
  edgeHLayer(0, 1);
  EXPECT_EQ(PixelOf(1, 3, 2)[0], 0);
}

TEST_F(TexgenFilters, SculptureDiagonalDirections) {
  auto ramp = [](int sy) {
    for (int y = 2; y <= 4; ++y) {
      for (int x = 2; x <= 4; ++x) {
        const auto v = static_cast<std::uint8_t>(100 - 10 * x + sy * 10 * y);
        PutPixel(0, x, y, Rgb{v, v, v});
      }
    }
    sculptureLayer(0, 1);
    return PixelOf(1, 3, 3)[0];
  };
  EXPECT_EQ(ramp(-1), 159);  // gx > 0, gy = gx
  EXPECT_EQ(ramp(+1), 95);   // gx > 0, gy = -gx
}

TEST_F(TexgenFilters, WoodRotatesBytes) {
  FillRgb(0, Rgb{0x12, 0x80, 0xFF});
  woodLayer(0, 1, 4);
  EXPECT_TRUE(LayerIsUniform(1, Rgb{0x21, 0x08, 0xFF}));
  woodLayer(0, 1, 1);
  EXPECT_TRUE(LayerIsUniform(1, Rgb{0x24, 0x01, 0xFF}));
  for (int bits : {0, 8, 9, -1, 1 << 30}) {
    FillRgb(1, Rgb{0, 0, 0});
    woodLayer(0, 1, bits);
    EXPECT_TRUE(SameLayers(0, 1)) << bits;
  }
}

TEST_F(TexgenFilters, MotionBlurTriangle) {
  FillDistinct(0);
  motionBlur(0, 1, 0);
  EXPECT_TRUE(SameLayers(0, 1));
  motionBlur(0, 1, -5);  // a negative radius acts as 0
  EXPECT_TRUE(SameLayers(0, 1));
  FillRgb(2, Rgb{0, 0, 0});
  PutPixel(2, 0, 3, Rgb{255, 255, 255});
  motionBlur(2, 2, 1);
  EXPECT_EQ(PixelOf(2, 0, 3)[0], 127);  // 255 x 2 / 4
  EXPECT_EQ(PixelOf(2, 1, 3)[0], 63);
  EXPECT_EQ(PixelOf(2, 7, 3)[0], 63);  // wrapped
  EXPECT_EQ(PixelOf(2, 2, 3)[0], 0);
  EXPECT_EQ(PixelOf(2, 0, 2)[0], 0);  // horizontal only
}

// The triangle sum written out term by term, as the blur is defined.
int DirectTriangleBlur(int layer, int x, int y, int k, int n) {
  std::int64_t sum = 0;
  for (int j = -n; j <= n; ++j) sum += PixelOf(layer, x + j, y)[k] * (n + 1 - std::abs(j));
  return static_cast<int>((sum / ((n + 1) * (n + 1))) & 0xFF);
}

using TexgenWideBlur = LayersOf<32, 4>;

TEST_F(TexgenWideBlur, MotionBlurMatchesTheTermByTermSumForEveryRadius) {
  randomState = 12345;
  for (std::size_t i = 0; i < LayerBytes(); ++i)
    LayerData(0)[i] = static_cast<std::uint8_t>(NextRandom());
  for (int n : {1, 2, 5, 15, 16, 31, 32}) {
    motionBlur(0, 1, n);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 32; ++x) {
        for (int k = 0; k < 3; ++k) {
          ASSERT_EQ(PixelOf(1, x, y)[k], DirectTriangleBlur(0, x, y, k, n)) << n << ":" << x;
        }
      }
    }
  }
  motionBlur(0, 2, 2000000000);  // beyond the width: acts as the width
  EXPECT_TRUE(SameLayers(1, 2));
}

using TexgenTilable = LayersOf<16, 16>;

TEST_F(TexgenTilable, MakeTilableBlendsOnlyOutsideTheCircle) {
  FillDistinct(0);
  FillRgb(1, Rgb{9, 9, 9});
  makeTilable(0, 1, 2);  // r = 6 around (8, 8)
  EXPECT_EQ(PixelOf(1, 8, 8), (Rgb{9, 9, 9}));
  EXPECT_EQ(PixelOf(1, 8, 2), (Rgb{9, 9, 9}));  // distance 6: t = 0, untouched
  EXPECT_NE(PixelOf(1, 0, 0), (Rgb{9, 9, 9}));  // a corner is blended
  EXPECT_NE(PixelOf(1, 8, 1), (Rgb{9, 9, 9}));  // just outside
  // Far out the four mirror images weigh a quarter each.
  const Rgb corner = PixelOf(1, 0, 0);
  const int expected = (0 + 15 + 15 + 0) / 4;  // channel 0 is x: x, 15 - x, 15 - x, x at x = 0
  EXPECT_EQ(corner[0], expected);
  // With border 0 the blend reaches the image corners but not the edge midpoints.
  FillRgb(2, Rgb{9, 9, 9});
  makeTilable(0, 2, 0);
  EXPECT_NE(PixelOf(2, 0, 0), (Rgb{9, 9, 9}));
  EXPECT_EQ(PixelOf(2, 8, 0), (Rgb{9, 9, 9}));
}

}  // namespace
