#include "layer_test_support.h"
#include "texgen/internal/colour_ops.h"
#include "texgen/internal/combiners.h"

namespace {

using TexgenCombiners = LayersOf<8, 8>;

TEST_F(TexgenCombiners, AddAndMultiplyFixedPoints) {
  FillDistinct(0);
  addLayers(0, 0, 1, 0.5f, 0.5f);
  EXPECT_TRUE(SameLayers(0, 1));
  FillRgb(2, Rgb{255, 255, 255});
  addLayers(2, 2, 3, 1.0f, 1.0f);
  EXPECT_TRUE(LayerIsUniform(3, Rgb{255, 255, 255}));
  FillRgb(4, Rgb{255, 16, 0});
  mulLayers(4, 4, 4, 1.0f, 1.0f);  // the target may be a source
  EXPECT_TRUE(LayerIsUniform(4, Rgb{255, 1, 0}));
}

TEST_F(TexgenCombiners, MinAndMaxCopyTheSecondSourceOnATie) {
  FillRgb(0, Rgb{10, 10, 10});
  FillRgb(1, Rgb{20, 20, 20});
  minCombineLayers(0, 1, 2, 2.0f, 1.0f);  // 2 x 10 == 1 x 20
  EXPECT_TRUE(LayerIsUniform(2, Rgb{20, 20, 20}));
  maxCombineLayers(0, 1, 2, 2.0f, 1.0f);
  EXPECT_TRUE(LayerIsUniform(2, Rgb{20, 20, 20}));
  minCombineLayers(0, 1, 2, 1.0f, 1.0f);
  EXPECT_TRUE(LayerIsUniform(2, Rgb{10, 10, 10}));  // the unweighted byte is copied
  maxCombineLayers(0, 1, 2, 3.0f, 1.0f);
  EXPECT_TRUE(LayerIsUniform(2, Rgb{10, 10, 10}));
}

TEST_F(TexgenCombiners, BitCombinersWeightThenTruncate) {
  FillDistinct(0);
  xorLayers(0, 0, 1, 1.0f, 1.0f);
  EXPECT_TRUE(LayerIsUniform(1, Rgb{0, 0, 0}));
  FillRgb(2, Rgb{0x0F, 0xF0, 200});
  FillRgb(3, Rgb{0x3C, 0x3C, 100});
  orLayers(2, 3, 4, 1.0f, 1.0f);
  EXPECT_TRUE(LayerIsUniform(4, Rgb{0x3F, 0xFC, 200 | 100}));
  andLayers(2, 3, 4, 1.0f, 2.0f);  // the second source counts double before the AND
  EXPECT_TRUE(LayerIsUniform(4, Rgb{0x0F & 0x78, 0xF0 & 0x78, 200 & 200}));
}

TEST_F(TexgenCombiners, RandCombineIsFixedAndScattersOnlySourcePixels) {
  FillRgb(0, Rgb{1, 1, 1});
  FillRgb(1, Rgb{2, 2, 2});
  randCombineLayers(0, 1, 2, 0.0f, 0.0f);
  EXPECT_TRUE(LayerIsUniform(2, Rgb{127, 127, 127}));
  randomState = 99;
  randCombineLayers(0, 1, 3, 0.3f, 0.2f);
  randCombineLayers(0, 1, 4, 0.3f, 0.2f);
  EXPECT_TRUE(SameLayers(3, 4));
  int counts[3] = {0, 0, 0};
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const int v = PixelOf(3, x, y)[0];
      ASSERT_TRUE(v == 1 || v == 2 || v == 127) << v;
      ++counts[v == 1 ? 0 : v == 2 ? 1 : 2];
    }
  }
  EXPECT_GT(counts[0], 0);
  EXPECT_GT(counts[1], 0);
}

using TexgenColourOps = LayersOf<8, 8>;

TEST_F(TexgenColourOps, ScaleAndAdjustClamp) {
  FillRgb(0, Rgb{100, 200, 50});
  scaleLayerRGB(0, 1, 2.0f, 2.0f, -1.0f);
  EXPECT_TRUE(LayerIsUniform(1, Rgb{200, 255, 0}));
  adjustLayerRGB(0, 1, 100, -250, 2147483647);
  EXPECT_TRUE(LayerIsUniform(1, Rgb{200, 0, 255}));
  invertLayer(0, 0);
  EXPECT_TRUE(LayerIsUniform(0, Rgb{155, 55, 205}));
}

TEST_F(TexgenColourOps, HsvOperations) {
  FillDistinct(0);
  scaleLayerHSV(0, 1, 1.0f, 1.0f, 1.0f);
  for (std::size_t i = 0; i < LayerBytes(); ++i) {
    EXPECT_NEAR(LayerData(1)[i], LayerData(0)[i], 1) << i;
  }
  FillRgb(2, Rgb{255, 0, 0});
  adjustLayerHSV(2, 3, 120.0f, 0.0f, 0.0f);  // red turned by 120 degrees is green
  EXPECT_TRUE(LayerIsUniform(3, Rgb{0, 255, 0}));
  scaleLayerHSV(2, 3, 1.0f, 0.0f, 0.5f);  // no saturation, half value: grey 127
  EXPECT_TRUE(LayerIsUniform(3, Rgb{127, 127, 127}));
  adjustLayerHSV(2, 3, 0.0f, 5.0f, 1000.0f);  // saturation and value clamp
  EXPECT_TRUE(LayerIsUniform(3, Rgb{255, 0, 0}));
}

TEST_F(TexgenColourOps, SineLayer) {
  FillDistinct(0);
  sineLayerRGB(0, 1, 0.0f, 1.0f, 0.5f);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(PixelOf(1, x, y)[0], 127);
  }
  // v = 1 with f = 0.5: the sine of the single-precision pi/2 is just below 1, so 254.
  EXPECT_EQ(PixelOf(1, 0, 1)[2], 254);
  EXPECT_EQ(PixelOf(1, 0, 0)[2], 127);
}

TEST_F(TexgenColourOps, EqualizeAndStretch) {
  FillRgb(0, Rgb{100, 0, 255});
  equalizeRGB(0, 1);
  EXPECT_TRUE(LayerIsUniform(1, Rgb{255, 255, 255}));
  stretchRGB(0, 1);
  EXPECT_TRUE(LayerIsUniform(1, Rgb{100, 0, 255}));
  // Half the pixels 10, half 20: equalize maps them to 128 (127.5 rounds to even) and 255.
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) PutPixel(2, x, y, y < 4 ? Rgb{10, 10, 10} : Rgb{20, 20, 20});
  }
  equalizeRGB(2, 3);
  EXPECT_EQ(PixelOf(3, 0, 0), (Rgb{128, 128, 128}));
  EXPECT_EQ(PixelOf(3, 0, 7), (Rgb{255, 255, 255}));
  stretchRGB(2, 3);  // lo 10, hi 20: s = 10 + 5 at value 10, 20 at value 20
  EXPECT_EQ(PixelOf(3, 0, 0), (Rgb{15, 15, 15}));
  EXPECT_EQ(PixelOf(3, 0, 7), (Rgb{20, 20, 20}));
}

}  // namespace
