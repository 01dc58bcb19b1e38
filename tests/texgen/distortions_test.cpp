#include "texgen/internal/distortions.h"

#include "layer_test_support.h"

namespace {

using TexgenDistortions = LayersOf<8, 8>;

TEST_F(TexgenDistortions, MoveByWholeTurnsOrNothingIsIdentity) {
  FillDistinct(0);
  moveDistort(0, 1, 8, 8);
  EXPECT_TRUE(SameLayers(0, 1));
  moveDistort(0, 1, 0, 0);
  EXPECT_TRUE(SameLayers(0, 1));
  moveDistort(0, 1, -2147483647 - 1, 2147483647);  // wraps without overflow
  EXPECT_EQ(PixelOf(1, 0, 0), PixelOf(0, 0, 7));
  FillDistinct(0);
  moveDistort(0, 0, 1, 0);
  for (int y = 0; y < 8; ++y)
    EXPECT_EQ(PixelOf(0, 0, y),
              (Rgb{1, static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(1 ^ y)}));
}

// Which source position (dx, dy) away from (x, y) a distinct-valued layer was read from.
bool ReadFromOffset(const Rgb& value, int x, int y, int dx, int dy) {
  return value[0] == ((x + dx) & 7) && value[1] == ((y + dy) & 7);
}

TEST_F(TexgenDistortions, NoiseDistortOffsetsAndRepeatability) {
  FillDistinct(0);
  noiseDistort(0, 1, 42, 0);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const Rgb v = PixelOf(1, x, y);
      const bool zeroOrMinusOne = ReadFromOffset(v, x, y, 0, 0) || ReadFromOffset(v, x, y, -1, 0) ||
                                  ReadFromOffset(v, x, y, 0, -1) || ReadFromOffset(v, x, y, -1, -1);
      EXPECT_TRUE(zeroOrMinusOne) << x << "," << y;
    }
  }
  noiseDistort(0, 2, 42, 0);
  EXPECT_TRUE(SameLayers(1, 2));
  noiseDistort(0, 3, 42, 16);
  noiseDistort(0, 4, 42, 99);  // bits are limited to 16
  EXPECT_TRUE(SameLayers(3, 4));
}

TEST_F(TexgenDistortions, ZeroDisplacementsCopy) {
  FillDistinct(0);
  sineDistort(0, 1, 0.7f, 0.0f, 1.3f, 0.0f);
  EXPECT_TRUE(SameLayers(0, 1));
  FillRgb(2, Rgb{0, 0, 0});
  mapDistort(0, 2, 3, 5.0f, 7.0f);
  EXPECT_TRUE(SameLayers(0, 3));
  twirlLayer(0, 4, 3.0f, 0.0f);  // radiusScale 0 copies
  EXPECT_TRUE(SameLayers(0, 4));
}

TEST_F(TexgenDistortions, MapDistortShiftsByTheBrightestChannel) {
  FillDistinct(0);
  FillRgb(2, Rgb{1, 3, 2});
  mapDistort(0, 2, 3, 1.0f, 2.0f);  // v = 3: read 3 right and 6 down
  EXPECT_TRUE(ReadFromOffset(PixelOf(3, 2, 1), 2, 1, 3, 6));
}

TEST_F(TexgenDistortions, TwirlKeepsTheCorners) {
  FillDistinct(0);
  twirlLayer(0, 0, 5.0f, 0.3f);
  EXPECT_EQ(PixelOf(0, 0, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(PixelOf(0, 7, 0), (Rgb{7, 0, 7}));
  EXPECT_EQ(PixelOf(0, 0, 7), (Rgb{0, 7, 7}));
  EXPECT_EQ(PixelOf(0, 7, 7), (Rgb{7, 7, 0}));
}

TEST_F(TexgenDistortions, TileShowsBlockUniformLayerHalved) {
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      PutPixel(0, x, y,
               Rgb{static_cast<std::uint8_t>(x / 2 * 10), static_cast<std::uint8_t>(y / 2), 7});
    }
  }
  tileLayer(0, 0);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(PixelOf(0, x, y),
                (Rgb{static_cast<std::uint8_t>(x % 4 * 10), static_cast<std::uint8_t>(y % 4), 7}));
    }
  }
}

TEST_F(TexgenDistortions, KaleidQuadrantOneIsSymmetricAboutBothCentreLines) {
  FillDistinct(0);
  FillRgb(1, Rgb{50, 50, 50});
  kaleidLayer(0, 1, 1);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(PixelOf(1, x, y), PixelOf(1, 7 - x, y));
      EXPECT_EQ(PixelOf(1, x, y), PixelOf(1, x, 7 - y));
    }
  }
  EXPECT_EQ(PixelOf(1, 3, 2), PixelOf(0, 3, 2));  // the top-left block is the source's
}

TEST_F(TexgenDistortions, KaleidOtherQuadrantsAndInvalidOnes) {
  FillDistinct(0);
  FillRgb(1, Rgb{50, 50, 50});
  kaleidLayer(0, 1, 2);  // built from the top-right block
  EXPECT_EQ(PixelOf(1, 6, 1), PixelOf(0, 6, 1));
  EXPECT_EQ(PixelOf(1, 1, 1), PixelOf(0, 6, 1));
  EXPECT_EQ(PixelOf(1, 6, 6), PixelOf(0, 6, 1));
  // Quadrant 3: its first step overwrites the copied bottom-left block from the old bottom right.
  kaleidLayer(0, 0, 3);
  EXPECT_EQ(PixelOf(0, 1, 6), (Rgb{6, 6, 6 ^ 6}));
  FillRgb(2, Rgb{50, 50, 50});
  for (int q : {0, 5, -1}) {
    kaleidLayer(0, 2, q);
    EXPECT_TRUE(LayerIsUniform(2, Rgb{50, 50, 50})) << q;
  }
}

TEST_F(TexgenDistortions, TunnelCentreColumnRepeatsItsLeftNeighbour) {
  FillDistinct(0);
  tunnelDistort(0, 1, 2.0f);
  for (int y = 0; y < 8; ++y) EXPECT_EQ(PixelOf(1, 4, y), PixelOf(1, 3, y)) << y;
}

TEST_F(TexgenDistortions, LogPolarFirstRowSamplesTheUnitCircle) {
  FillDistinct(0);
  logPolLayer(0, 1);
  // Row 0 has radius e^0 = 1: pixel (0, 0) reads one step right of the centre.
  EXPECT_EQ(PixelOf(1, 0, 0), PixelOf(0, 5, 4));
}

}  // namespace
