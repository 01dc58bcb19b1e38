// Whole layers against the operations' formulas, written out here apart from the code: generators
// (seeds, interpolation, octaves, rules), combiners, colour operations, neighbourhood filters, and
// distortions, where in a Distinct layer a pixel tells where it was read from.
#include <cmath>
#include <cstdlib>

#include "support.h"

namespace {

using TexgenLayers = LayersOf<8, 8>;

// The operations' clamp: >= 255 gives 255, <= 0 gives 0, anything else is truncated.
int Clamp(double v) { return v >= 255 ? 255 : v <= 0 ? 0 : static_cast<int>(v); }
// Channel k's value of three.
double Of(int k, double a, double b, double c) { return k == 0 ? a : k == 1 ? b : c; }

// Channel k's result from the channel bytes a and b of layers 0 and 1; the calls write layer 2.
const struct ChannelRow {
  const char* call;
  int (*expected)(int k, int a, int b);
} kChannelRows[] = {
    {"addLayers(0,1,2,0.75,1.5)", [](int, int a, int b) { return Clamp(0.75 * a + 1.5 * b); }},
    {"mulLayers(0,1,2,1,1)",
     [](int, int a, int b) { return Clamp(double{static_cast<float>(0.00392156862745)} * a * b); }},
    {"minCombineLayers(0,1,2,1,0.5)", [](int, int a, int b) { return a < 0.5 * b ? a : b; }},
    {"maxCombineLayers(0,1,2,1,0.5)", [](int, int a, int b) { return 0.5 * b < a ? a : b; }},
    {"xorLayers(0,1,2,1,0.5)", [](int, int a, int b) { return a ^ b / 2; }},
    {"orLayers(0,1,2,2,1)", [](int, int a, int b) { return (2 * a | b) & 255; }},
    {"andLayers(0,1,2,0.5,1)", [](int, int a, int b) { return a / 2 & b; }},
    {"scaleLayerRGB(0,2,2,0.5,-1)", [](int k, int a, int) { return Clamp(a * Of(k, 2, 0.5, -1)); }},
    {"adjustLayerRGB(0,2,100,-100,7)", [](int k, int a, int) { return Clamp(a + Of(k, 100, -100, 7)); }},
    {"invertLayer(0,2)", [](int, int a, int) { return 255 - a; }},
    {"woodLayer(0,2,3)", [](int, int a, int) { return (a << 3 | a >> 5) & 255; }},
    {"woodLayer(0,2,4)", [](int, int a, int) { return (a << 4 | a >> 4) & 255; }},
};

TEST_F(TexgenLayers, ChannelFormulas) {
  FillNoise(0, 1);
  FillNoise(1, 2);
  for (const ChannelRow& row : kChannelRows) {
    RunCalls(row.call);
    ExpectLayer(2, row.call,
                [&](int x, int y, int k) { return row.expected(k, PixelOf(0, x, y)[k], PixelOf(1, x, y)[k]); });
  }
}

// The 3 x 3 neighbourhood of one channel: columns l, c, r; rows a (above), m, b (below); and the
// weighted sums of its outer columns and rows that the gradients take.
struct Neighbours {
  int la, ca, ra, lm, c, rm, lb, cb, rb;
  std::array<int, 9> All() const { return {la, ca, ra, lm, c, rm, lb, cb, rb}; }
  int Left() const { return la + 2 * lm + lb; }
  int Right() const { return ra + 2 * rm + rb; }
  int Above() const { return la + 2 * ca + ra; }
  int Below() const { return lb + 2 * cb + rb; }
};

int Median(const Neighbours& n) {
  std::array<int, 9> v = n.All();
  std::ranges::nth_element(v, v.begin() + 4);
  return v[4];
}

const struct FilterRow {
  const char* call;  // source 0, target 1
  int (*expected)(const Neighbours& n);
} kFilterRows[] = {
    {"blurLayer(0,1)", [](const Neighbours& n) { return (n.Above() + 2 * (n.lm + 2 * n.c + n.rm) + n.Below()) >> 4; }},
    {"sharpenLayer(0,1)",
     [](const Neighbours& n) {
       return std::clamp((5 * n.c >> 1) - ((n.la + n.ra + n.lb + n.rb) >> 3) - ((n.ca + n.lm + n.rm + n.cb) >> 2), 0,
                         255);
     }},
    {"edgeVLayer(0,1)", [](const Neighbours& n) { return std::min(255, 2 * std::abs(n.Left() - n.Right())); }},
    {"edgeHLayer(0,1)", [](const Neighbours& n) { return std::min(255, 2 * std::abs(n.Above() - n.Below())); }},
    {"embossLayer(0,1)",
     [](const Neighbours& n) {  // gradients from 128, their length by ISqrt, capped
       const int gx = 128 + n.ra + n.rm + n.rb - n.la - n.lm - n.lb, gy = 128 + n.lb + n.cb + n.rb - n.la - n.ca - n.ra;
       return std::min(255, static_cast<int>(ISqrt(gx * gx + gy * gy)));
     }},
    {"dilateLayer(0,1)", [](const Neighbours& n) { return std::ranges::max(n.All()); }},
    {"erodeLayer(0,1)", [](const Neighbours& n) { return std::ranges::min(n.All()); }},
    {"medianLayer(0,1)", Median},
    {"medianLayer(0,0); moveDistort(0,1,0,0)", Median},  // in place, through the scratch copy
};

TEST_F(TexgenLayers, FilterFormulasOnRandomLayers) {
  for (const FilterRow& row : kFilterRows) {
    for (int top : {255, 40}) {  // full range, and values whose edges stay below the cap
      FillNoise(0, top, top);
      FillNoise(5, 1);                                          // whatever the scratch layer held
      Paint(2, [](int x, int y) { return PixelOf(0, x, y); });  // the source before the call
      RunCalls(row.call);
      ExpectLayer(1, row.call, [&](int x, int y, int k) {
        auto at = [&](int dx, int dy) { return PixelOf(2, (x + dx) & 7, (y + dy) & 7)[k]; };
        return row.expected(
            {at(-1, -1), at(0, -1), at(1, -1), at(-1, 0), at(0, 0), at(1, 0), at(-1, 1), at(0, 1), at(1, 1)});
      });
    }
  }
}

// The triangle sum written out term by term, as the blur is defined.
int TriangleBlur(int x, int y, int k, int n) {
  std::int64_t sum = 0;
  for (int j = -n; j <= n; ++j) sum += PixelOf(0, (x + j) & 31, y)[k] * (n + 1 - std::abs(j));
  return static_cast<int>((sum / ((n + 1) * (n + 1))) & 0xFF);
}

using TexgenWideBlur = LayersOf<32, 4>;

TEST_F(TexgenWideBlur, MotionBlurIsTheTriangleSumForEveryRadius) {
  FillNoise(0, 12345);
  for (int n : {0, 1, 2, 5, 15, 16, 31, 32}) {
    RunCalls("motionBlur(0,1," + std::to_string(n) + ")");
    ExpectLayer(1, "motionBlur " + std::to_string(n), [&](int x, int y, int k) { return TriangleBlur(x, y, k, n); });
  }
  RunCalls("motionBlur(0,2,2000000000)");
  EXPECT_TRUE(SameLayers(1, 2));  // beyond the width: acts as the width
}

TEST_F(TexgenLayers, SubPlasmaSeedsAndInterpolatesBetweenWrappedCorners) {
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
    CosInterp(PixelAt(0, x0, y0), PixelAt(0, x0 + 4, y0), PixelAt(0, x0, y0 + 4), PixelAt(0, x0 + 4, y0 + 4),
              0.25f * (x - x0), 0.25f * (y - y0), c.data());
    return c[k];
  });
}

// perlinNoise is a sum of plasma octaves: amplitude (amplitude x persistence) >> 8, step halved,
// the sum limited to 255.
TEST_F(TexgenLayers, PerlinNoiseSumsPlasmaOctaves) {
  RunCalls("perlinNoise(0,2,3,256,128,2,true); subPlasma(1,2,3,1,true); subPlasma(1,1,0,128,true)");
  EXPECT_TRUE(SameLayers(0, 1));
  RunCalls("perlinNoise(0,4,3,256,256,3,true); subPlasma(1,4,3,1,true); subPlasma(2,2,0,256,true);"
           "subPlasma(3,1,0,256,true); addLayers(2,3,4,1,1)");
  EXPECT_TRUE(SameLayers(0, 4));
}

TEST_F(TexgenLayers, CheckerBoardRotatesTwoColoursAndBlobsRepeat) {
  // Rows 0 to 3: F is the first colour (1, 2, 3), S the second (200, 100, 50). Sizes below 1 act as 1
  // instead of dividing by zero.
  const std::pair<const char*, const char*> boards[] = {
      {"checkerBoardLayer(0,2,2,1,2,3,200,100,50)", "SSFFSSFF SSFFSSFF FFSSFFSS FFSSFFSS"},
      {"checkerBoardLayer(0,8,2,1,2,3,200,100,50)", "SSSSSSSS FFFFFFFF FFFFFFFF SSSSSSSS"},
      {"checkerBoardLayer(0,0,-3,1,2,3,200,100,50)", "SFSFSFSF FSFSFSFS SFSFSFSF FSFSFSFS"}};
  for (const auto& [call, rows] : boards) {
    RunCalls(call);
    ExpectLayer(0, call, [&](int x, int y, int k) {
      return y > 3 ? PixelOf(0, x, y)[k] : rows[9 * y + x] == 'F' ? k + 1 : 200 >> k;
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

TEST_F(TexgenLayers, WholePixelReadsFromShiftedPositions) {
  // Source 0, target 1. Moves wrap; in place; sine amplitudes 0, a black map and a radiusScale of 0 copy;
  // a map moves by its brightest channel.
  const std::tuple<const char*, int, int> moves[] = {
      {"moveDistort(0,1,8,8)", 0, 0}, {"moveDistort(0,1,1,0)", 1, 0}, {"moveDistort(0,1,-3,2)", -3, 2},
      {"moveDistort(0,1,-2147483648,8)", 0, 0}, {"moveDistort(0,0,1,-1); moveDistort(0,1,0,0)", 1, -1},
      {"sineDistort(0,1,0.7,0,1.3,0)", 0, 0}, {"colorLayer(2,0,0,0); mapDistort(0,2,1,5,7)", 0, 0},
      {"colorLayer(2,1,3,2); mapDistort(0,2,1,1,2)", 3, 6}, {"twirlLayer(0,1,3,0)", 0, 0}};
  for (const auto& [call, dx, dy] : moves) {
    Paint(0, Distinct);
    RunCalls(call);
    ExpectLayer(1, call, [&](int x, int y, int k) { return Distinct(x + dx, y + dy)[k]; });
  }
}

// The offsets are floor((r - 32767) / 2^(16 - bits)) of two draws per pixel, row by row.
TEST_F(TexgenLayers, NoiseDistortOffsetsComeFromTheSeededDraws) {
  Paint(0, Distinct);
  for (int bits : {0, 3, 16, 99}) {  // bits are limited to 16
    RunCalls("noiseDistort(0,1,42," + std::to_string(bits) + ")");
    SeedRandom(42);
    const double step = std::ldexp(1.0, 16 - std::min(bits, 16));
    std::array<Rgb, 64> expected;
    for (int i = 0; i < 64; ++i) {
      const auto ox = static_cast<int>(std::floor((NextRandom() - 32767.0) / step));
      const auto oy = static_cast<int>(std::floor((NextRandom() - 32767.0) / step));
      expected[i] = Distinct(i % 8 + ox, i / 8 + oy);
    }
    ExpectLayer(1, "noiseDistort", [&](int x, int y, int k) { return expected[y * 8 + x][k]; });
  }
}

TEST_F(TexgenLayers, TileAndKaleidoscope) {
  Paint(0, [](int x, int y) { return Rgb{std::uint8_t(x * 10), std::uint8_t(y * 20), 7}; });
  RunCalls("tileLayer(0,0)");  // the mean of each 2 x 2 block, repeated 2 x 2
  ExpectLayer(0, "tileLayer", [](int x, int y, int k) {
    return std::array{(2 * x & 7) * 10 + 5, (2 * y & 7) * 20 + 10, 7}[k];
  });
  Paint(0, Distinct);
  RunCalls("kaleidLayer(0,1,1)");  // the top-left block mirrored about both centre lines
  ExpectLayer(1, "quadrant 1", [](int x, int y, int k) { return Distinct(x < 4 ? x : 7 - x, y < 4 ? y : 7 - y)[k]; });
  RunCalls("kaleidLayer(0,1,2)");  // the same from the top-right block
  ExpectLayer(1, "quadrant 2", [](int x, int y, int k) { return Distinct(x < 4 ? 7 - x : x, y < 4 ? y : 7 - y)[k]; });
}

}  // namespace
