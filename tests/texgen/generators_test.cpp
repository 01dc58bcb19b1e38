#include "texgen/internal/generators.h"

#include "layer_test_support.h"
#include "texgen/internal/dispatch.h"

namespace {

using TexgenGenerators = LayersOf<8, 8>;

TEST_F(TexgenGenerators, SubPlasmaStepOneDrawsOnePixelEachFromTheSeed) {
  subPlasma(0, 1, 1, 256, false);
  EXPECT_EQ(PixelOf(0, 0, 0), (Rgb{346 & 255, 346 & 255, 346 & 255}));
  EXPECT_EQ(PixelOf(0, 1, 0), (Rgb{32552 & 255, 32552 & 255, 32552 & 255}));
  EXPECT_EQ(PixelOf(0, 2, 0), (Rgb{10851 & 255, 10851 & 255, 10851 & 255}));
  subPlasma(1, 1, 1, 256, true);  // colour: three draws per pixel
  EXPECT_EQ(PixelOf(1, 0, 0), (Rgb{346 & 255, 32552 & 255, 10851 & 255}));
}

TEST_F(TexgenGenerators, SubPlasmaSeedsRangeAndContinuation) {
  subPlasma(0, 1, 77, 1, true);
  EXPECT_TRUE(LayerIsUniform(0, Rgb{0, 0, 0}));  // range 1 masks every draw to 0
  subPlasma(0, 2, 5, 256, true);
  subPlasma(1, 2, 5, 256, true);
  EXPECT_TRUE(SameLayers(0, 1));
  // Seed 0 goes on where the last operation stopped.
  subPlasma(2, 1, 9, 16, false);
  const std::uint32_t after = randomState;
  subPlasma(3, 1, 0, 16, false);
  randomState = after;
  EXPECT_EQ(PixelOf(3, 0, 0)[0], NextRandom() & 15);
}

TEST_F(TexgenGenerators, SubPlasmaInterpolatesBetweenGridPointsAndTiles) {
  subPlasma(0, 4, 3, 256, false);
  // Grid points keep their draws; the rest lies between the surrounding grid values.
  const int g00 = PixelOf(0, 0, 0)[0], g40 = PixelOf(0, 4, 0)[0];
  const int mid = PixelOf(0, 2, 0)[0];
  EXPECT_GE(mid, std::min(g00, g40) - 1);
  EXPECT_LE(mid, std::max(g00, g40));
  // Cell (4, 0) wraps to grid point (0, 0) at its right edge: the image tiles.
  const int g_wrap = PixelOf(0, 7, 0)[0];
  EXPECT_GE(g_wrap, std::min(g40, g00) - 1);
  EXPECT_LE(g_wrap, std::max(g40, g00));
}

TEST_F(TexgenGenerators, SubPlasmaWithStepLargerThanTheLayerStaysBounded) {
  subPlasma(0, 1 << 30, 4, 256, true);  // must finish at once and stay inside the layer
  subPlasma(1, 0, 4, 256, true);        // a step of 0 would never advance: black
  EXPECT_TRUE(LayerIsUniform(1, Rgb{0, 0, 0}));
}

TEST_F(TexgenGenerators, PerlinOctavesAddScratchOctavesAndStopEarly) {
  perlinNoise(0, 8, 3, 256, 128, 1, true);
  EXPECT_TRUE(LayerIsUniform(0, Rgb{0, 0, 0}));
  // Step 2, two octaves: the second is a step-1 plasma of amplitude 256 in layer 5 added to black.
  perlinNoise(0, 2, 3, 256, 256, 2, true);
  EXPECT_TRUE(SameLayers(0, kScratchLayer));
  EXPECT_FALSE(LayerIsUniform(0, Rgb{0, 0, 0}));
  // Step 1 halves to 0 before any octave: black however many octaves are asked for.
  perlinNoise(1, 1, 3, 256, 256, 50, true);
  EXPECT_TRUE(LayerIsUniform(1, Rgb{0, 0, 0}));
}

TEST_F(TexgenGenerators, SinePlasmaParticleAndFlatColour) {
  sinePlasma(0, 0.0f, 0.0f, 256.0f);
  EXPECT_TRUE(LayerIsUniform(0, Rgb{127, 127, 127}));
  particle(1, 0.0f);
  EXPECT_TRUE(LayerIsUniform(1, Rgb{255, 255, 255}));
  particle(1, 1.0f);
  EXPECT_EQ(PixelOf(1, 4, 4), (Rgb{255, 255, 255}));  // centre
  EXPECT_EQ(PixelOf(1, 0, 4), (Rgb{75, 75, 75}));     // radius 1: 255 - 180
  EXPECT_EQ(PixelOf(1, 0, 0), (Rgb{0, 0, 0}));        // beyond: clamped
  colorLayer(2, 256 + 10, -1, 3);
  EXPECT_TRUE(LayerIsUniform(2, Rgb{10, 255, 3}));
}

Rgb First() { return Rgb{1, 2, 3}; }
Rgb Second() { return Rgb{200, 100, 50}; }

void Board(int layer, int cw, int ch) { checkerBoardLayer(layer, cw, ch, 1, 2, 3, 200, 100, 50); }

TEST_F(TexgenGenerators, CheckerBoardSmallCells) {
  Board(0, 2, 2);
  const Rgb s = Second(), f = First();
  const Rgb top[8] = {s, s, f, f, s, s, f, f};
  const Rgb bottom[8] = {f, f, s, s, f, f, s, s};
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(PixelOf(0, x, 0), top[x]) << x;
    EXPECT_EQ(PixelOf(0, x, 1), top[x]) << x;
    EXPECT_EQ(PixelOf(0, x, 2), bottom[x]) << x;
    EXPECT_EQ(PixelOf(0, x, 3), bottom[x]) << x;
  }
}

TEST_F(TexgenGenerators, CheckerBoardOneCellPerRowAlternatesRows) {
  Board(0, 8, 2);
  EXPECT_EQ(PixelOf(0, 3, 0), Second());
  EXPECT_EQ(PixelOf(0, 3, 1), First());
  EXPECT_EQ(PixelOf(0, 3, 2), First());
  EXPECT_EQ(PixelOf(0, 3, 3), Second());
  Board(1, 0, -3);  // sizes below 1 act as 1 instead of dividing by zero
  EXPECT_EQ(PixelOf(1, 0, 0), Second());
}

using TexgenWideBoard = LayersOf<256, 8>;

TEST_F(TexgenWideBoard, EndOfRowRotationRepeatsEachBandsFirstRow) {
  Board(0, 100, 4);
  for (int y = 0; y < 4; ++y) {
    EXPECT_EQ(PixelOf(0, 0, y), Second()) << y;
    EXPECT_EQ(PixelOf(0, 150, y), First()) << y;
    EXPECT_EQ(PixelOf(0, 255, y), Second()) << y;
  }
  EXPECT_EQ(PixelOf(0, 0, 4), First());
}

TEST_F(TexgenGenerators, BlobsAreRepeatableAndLimitedToSixteen) {
  blobsLayer(0, 12, 16, true);
  blobsLayer(1, 12, 40, true);
  EXPECT_TRUE(SameLayers(0, 1));
  EXPECT_FALSE(LayerIsUniform(0, PixelOf(0, 0, 0)));
  blobsLayer(2, 12, 0, true);
  EXPECT_TRUE(LayerIsUniform(2, Rgb{0, 0, 0}));
  blobsLayer(3, 12, 5, false);
  const Rgb p = PixelOf(3, 2, 6);
  EXPECT_EQ(p[0], p[1]);
  EXPECT_EQ(p[0], p[2]);
}

TEST_F(TexgenGenerators, MandelBrotOutsideAndInside) {
  OpParams outside{0, 10, 10, 11, 11};  // left 10, top 10, width and height 1
  ASSERT_TRUE(RunOp(7, outside).ok());
  EXPECT_TRUE(LayerIsUniform(0, Rgb{0, 255, 255}));
  OpParams inside{1, -0.1f, -0.1f, 0.1f, 0.1f};
  ASSERT_TRUE(RunOp(7, inside).ok());
  EXPECT_TRUE(LayerIsUniform(1, Rgb{255, 0, 0}));
}

using TexgenCells = LayersOf<64, 16>;

TEST_F(TexgenCells, CellMachineRulesAndNeighbourOrder) {
  constexpr int kSeed = 3;
  cellMachine(0, kSeed, 0);
  randomState = kSeed;
  int whites = 0;
  for (int x = 0; x < 64; ++x) {
    const bool white = (NextRandom() >> 10) == 0;
    whites += white;
    EXPECT_EQ(PixelOf(0, x, 0)[0], white ? 255 : 0) << x;
  }
  ASSERT_GT(whites, 0) << "pick a seed that lights a cell in row 0";
  for (int y = 1; y < 16; ++y) EXPECT_EQ(PixelOf(0, 5, y), (Rgb{0, 0, 0}));
  cellMachine(1, kSeed, 255);
  for (int x = 0; x < 64; ++x) EXPECT_EQ(PixelOf(1, x, 9), (Rgb{255, 255, 255}));
  // Rule 2 lights a cell whose only live parent is on the left: row 0 moves right one per row.
  cellMachine(2, kSeed, 2);
  for (int y = 1; y < 16; ++y) {
    for (int x = 0; x < 64; ++x) {
      ASSERT_EQ(PixelOf(2, x, y), PixelOf(2, x - y, 0)) << x << "," << y;
    }
  }
}

}  // namespace
