// Generator operations (codes 0 to 8) as whole layers: seeds, interpolation, octaves, rules.
#include "support.h"

namespace {

using TexgenGenerators = LayersOf<8, 8>;

TEST_F(TexgenGenerators, SubPlasmaSeedsAndInterpolatesBetweenWrappedCorners) {
  RunCalls("subPlasma(1,2,5,256,true); subPlasma(2,2,5,256,true); subPlasma(3,1,9,16,false)");
  EXPECT_TRUE(SameLayers(1, 2));
  const std::uint32_t after = randomState;
  RunCalls("subPlasma(3,1,0,16,false); subPlasma(4,1073741824,4,256,true)");  // ends at once
  randomState = after;  // seed 0 goes on where the last operation stopped
  EXPECT_EQ(PixelOf(3, 0, 0)[0], NextRandom() & 15);
  RunCalls("subPlasma(0,4,3,256,true)");
  ExpectLayer(0, "step 4", [](int x, int y, int k) {
    const int x0 = x / 4 * 4, y0 = y / 4 * 4;
    Rgb c;
    CosInterp(PixelAt(0, x0, y0), PixelAt(0, x0 + 4, y0), PixelAt(0, x0, y0 + 4),
              PixelAt(0, x0 + 4, y0 + 4), 0.25f * (x - x0), 0.25f * (y - y0), c.data());
    return c[k];
  });
}

// perlinNoise is a sum of plasma octaves: amplitude (amplitude x persistence) >> 8, step halved,
// the sum limited to 255.
TEST_F(TexgenGenerators, PerlinNoiseSumsPlasmaOctaves) {
  RunCalls("perlinNoise(0,2,3,256,128,2,true); subPlasma(1,2,3,1,true); subPlasma(1,1,0,128,true)");
  EXPECT_TRUE(SameLayers(0, 1));
  RunCalls(
      "perlinNoise(0,4,3,256,256,3,true); subPlasma(1,4,3,1,true); subPlasma(2,2,0,256,true);"
      "subPlasma(3,1,0,256,true); addLayers(2,3,4,1,1)");
  EXPECT_TRUE(SameLayers(0, 4));
}

TEST_F(TexgenGenerators, CheckerBoardRotatesTwoColoursAndBlobsRepeat) {
  const struct {
    const char* call;
    const char* rows;  // rows 0 to 3: F is the first colour (1, 2, 3), S the second (200, 100, 50)
  } boards[] = {
      {"checkerBoardLayer(0,2,2,1,2,3,200,100,50)", "SSFFSSFF SSFFSSFF FFSSFFSS FFSSFFSS"},
      {"checkerBoardLayer(0,8,2,1,2,3,200,100,50)", "SSSSSSSS FFFFFFFF FFFFFFFF SSSSSSSS"},
      {"checkerBoardLayer(0,0,-3,1,2,3,200,100,50)", "SFSFSFSF FSFSFSFS SFSFSFSF FSFSFSFS"},
  };
  for (const auto& board : boards) {  // sizes below 1 act as 1 instead of dividing by zero
    RunCalls(board.call);
    ExpectLayer(0, board.call, [&](int x, int y, int k) {
      return y > 3 ? PixelOf(0, x, y)[k] : board.rows[9 * y + x] == 'F' ? k + 1 : 200 >> k;
    });
  }
  RunCalls("blobsLayer(0,12,16,true); blobsLayer(1,12,40,true)");  // at most 16 blobs
  EXPECT_TRUE(SameLayers(0, 1));
}

using TexgenCells = LayersOf<64, 16>;

TEST_F(TexgenCells, CellMachineFirstRowAndNeighbourOrder) {
  RunCalls("cellMachine(0,3,2)");
  randomState = 3;
  int whites = 0;
  for (int x = 0; x < 64; ++x) {
    const bool white = (NextRandom() >> 10) == 0;  // one chance in 64
    whites += white;
    EXPECT_EQ(PixelOf(0, x, 0)[0], white ? 255 : 0) << x;
  }
  ASSERT_GT(whites, 0) << "pick a seed that lights a cell in row 0";
  // Rule 2 lights a cell whose only live parent is on the left: row 0 moves right one per row.
  ExpectLayer(0, "rule 2", [](int x, int y, int k) { return PixelOf(0, x - y, 0)[k]; });
}

}  // namespace
