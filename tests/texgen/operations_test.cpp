// The operations against their formulas, written out here apart from the code: whole layers (in a
// Distinct layer a pixel tells where it was read from), then single pixels worked out by hand.
#include <cmath>
#include <cstdlib>

#include "support.h"

namespace {

using TexgenLayers = LayersOf<8, 8>;

// The operations' clamp: >= 255 gives 255, <= 0 gives 0, anything else is truncated; channel k's value of three.
int Clamp(double v) { return v >= 255 ? 255 : v <= 0 ? 0 : static_cast<int>(v); }
double Of(int k, double a, double b, double c) { return k == 0 ? a : k == 1 ? b : c; }

// Channel k's result from the channel bytes a and b of layers 0 and 1; the calls write layer 2.
const std::pair<const char*, int (*)(int k, int a, int b)> kChannelRows[] = {
    {"addLayers(0,1,2,0.75,1.5)", [](int, int a, int b) { return Clamp(0.75 * a + 1.5 * b); }},
    {"mulLayers(0,1,2,1,1)", [](int, int a, int b) { return Clamp(double{float(0.00392156862745)} * a * b); }},
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

// One channel's 3 x 3 neighbourhood (columns l, c, r; rows a, m, b) and the gradients' weighted sums.
struct Neighbours {
  int la, ca, ra, lm, c, rm, lb, cb, rb;
  std::array<int, 9> All() const { return {la, ca, ra, lm, c, rm, lb, cb, rb}; }
  int Left() const { return la + 2 * lm + lb; }
  int Right() const { return ra + 2 * rm + rb; }
  int Above() const { return la + 2 * ca + ra; }
  int Below() const { return lb + 2 * cb + rb; }
};

int Median(const Neighbours& n) { auto v = n.All(); return std::ranges::nth_element(v, v.begin() + 4), v[4]; }

const std::pair<const char*, int (*)(const Neighbours& n)> kFilterRows[] = {  // source 0, target 1
    {"blurLayer(0,1)", [](const Neighbours& n) { return (n.Above() + 2 * (n.lm + 2 * n.c + n.rm) + n.Below()) >> 4; }},
    {"sharpenLayer(0,1)", [](const Neighbours& n) {
       const int corners = (n.la + n.ra + n.lb + n.rb) >> 3, sides = (n.ca + n.lm + n.rm + n.cb) >> 2;
       return std::clamp((5 * n.c >> 1) - corners - sides, 0, 255);
     }},
    {"edgeVLayer(0,1)", [](const Neighbours& n) { return std::min(255, 2 * std::abs(n.Left() - n.Right())); }},
    {"edgeHLayer(0,1)", [](const Neighbours& n) { return std::min(255, 2 * std::abs(n.Above() - n.Below())); }},
    {"embossLayer(0,1)", [](const Neighbours& n) {  // gradients from 128, their length by ISqrt, capped
       const int gx = 128 + n.ra + n.rm + n.rb - n.la - n.lm - n.lb, gy = 128 + n.lb + n.cb + n.rb - n.la - n.ca - n.ra;
       return std::min(255, static_cast<int>(ISqrt(gx * gx + gy * gy)));
     }},
    {"dilateLayer(0,1)", [](const Neighbours& n) { return std::ranges::max(n.All()); }}, {"medianLayer(0,1)", Median},
    {"erodeLayer(0,1)", [](const Neighbours& n) { return std::ranges::min(n.All()); }},
    {"medianLayer(0,0); moveDistort(0,1,0,0)", Median},  // in place, through the scratch copy
};

TEST_F(TexgenLayers, ChannelAndFilterFormulasOnRandomLayers) {
  FillNoise(0, 1), FillNoise(1, 2);
  for (const auto& [call, expected] : kChannelRows) {
    RunCalls(call);
    ExpectLayer(2, call, [&](int x, int y, int k) { return expected(k, PixelOf(0, x, y)[k], PixelOf(1, x, y)[k]); });
  }
  for (const auto& [call, expected] : kFilterRows) {
    for (int top : {255, 40}) {  // full range, and values whose edges stay below the cap
      FillNoise(0, top, top);
      FillNoise(5, 1);                                          // whatever the scratch layer held
      Paint(2, [](int x, int y) { return PixelOf(0, x, y); });  // the source before the call
      RunCalls(call);
      ExpectLayer(1, call, [&](int x, int y, int k) {
        auto at = [&](int dx, int dy) { return PixelOf(2, (x + dx) & 7, (y + dy) & 7)[k]; };
        return expected(
            {at(-1, -1), at(0, -1), at(1, -1), at(-1, 0), at(0, 0), at(1, 0), at(-1, 1), at(0, 1), at(1, 1)});
      });
    }
  }
}

using TexgenWideBlur = LayersOf<32, 4>;

TEST_F(TexgenWideBlur, MotionBlurIsTheTriangleSumForEveryRadius) {
  FillNoise(0, 12345);
  for (int n : {0, 1, 2, 5, 15, 16, 31, 32}) {
    RunCalls("motionBlur(0,1," + std::to_string(n) + ")");
    ExpectLayer(1, "motionBlur " + std::to_string(n), [&](int x, int y, int k) {  // term by term, as defined
      std::int64_t sum = 0;
      for (int j = -n; j <= n; ++j) sum += PixelOf(0, (x + j) & 31, y)[k] * (n + 1 - std::abs(j));
      return static_cast<int>((sum / ((n + 1) * (n + 1))) & 0xFF);
    });
  }
  RunCalls("motionBlur(0,2,2000000000)");
  EXPECT_TRUE(SameLayers(1, 2));  // beyond the width: acts as the width
}

TEST_F(TexgenLayers, GeneratorsSeedsInterpolationOctavesBoardsAndBlobs) {
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
  // perlinNoise sums plasma octaves: amplitude (amplitude x persistence) >> 8, step halved, limited to 255.
  RunCalls("perlinNoise(0,2,3,256,128,2,true); subPlasma(1,2,3,1,true); subPlasma(1,1,0,128,true)");
  EXPECT_TRUE(SameLayers(0, 1));
  RunCalls("perlinNoise(0,4,3,256,256,3,true); subPlasma(1,4,3,1,true); subPlasma(2,2,0,256,true);"
           "subPlasma(3,1,0,256,true); addLayers(2,3,4,1,1)");
  EXPECT_TRUE(SameLayers(0, 4));
  // Rows 0 to 3: F is the first colour (1, 2, 3), S the second. Sizes below 1 act as 1, not dividing by 0.
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

// Source 0, target 1. Moves wrap; in place; sine amplitudes 0, a black map and a radiusScale of 0 copy;
// a map moves by its brightest channel. noiseDistort's offsets are floor((r - 32767) / 2^(16 - bits))
// of two draws per pixel, row by row. kaleidLayer mirrors a block about both centre lines.
TEST_F(TexgenLayers, DistortionsReadFromTheirPositions) {
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
  for (int bits : {0, 3, 16, 99}) {  // bits are limited to 16
    RunCalls("noiseDistort(0,1,42," + std::to_string(bits) + ")");
    SeedRandom(42);
    const double step = std::ldexp(1.0, 16 - std::min(bits, 16));
    std::array<Rgb, 64> expected;
    const auto offset = [&] { return static_cast<int>(std::floor((NextRandom() - 32767.0) / step)); };
    for (int i = 0, ox; i < 64; ++i) ox = offset(), expected[i] = Distinct(i % 8 + ox, i / 8 + offset());
    ExpectLayer(1, "noiseDistort", [&](int x, int y, int k) { return expected[y * 8 + x][k]; });
  }
  RunCalls("kaleidLayer(0,1,1)");  // the top-left block
  ExpectLayer(1, "quadrant 1", [](int x, int y, int k) { return Distinct(x < 4 ? x : 7 - x, y < 4 ? y : 7 - y)[k]; });
  RunCalls("kaleidLayer(0,1,2)");  // the same from the top-right block
  ExpectLayer(1, "quadrant 2", [](int x, int y, int k) { return Distinct(x < 4 ? 7 - x : x, y < 4 ? y : 7 - y)[k]; });
  Paint(0, [](int x, int y) { return Rgb{std::uint8_t(x * 10), std::uint8_t(y * 20), 7}; });
  RunCalls("tileLayer(0,0)");  // the mean of each 2 x 2 block, repeated 2 x 2
  ExpectLayer(0, "tileLayer", [](int x, int y, int k) {
    return std::array{(2 * x & 7) * 10 + 5, (2 * y & 7) * 20 + 10, 7}[k];
  });
}

// Single pixels worked out by hand. Each row starts from fresh layers with layer 0 = Distinct(x, y)
// and the others black, runs its calls and reads layer 1.
struct Point { int x, y; Rgb rgb; };

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kGrey{127, 127, 127};
constexpr Rgb kFirst{1, 2, 3}, kSecond{200, 100, 50};  // the boards' two colours
const std::string kRed = "colorLayer(2,255,0,0); ", kTens = "colorLayer(2,10,10,10); ";
const std::string kTwoLevels = "checkerBoardLayer(2,8,4,10,10,10,20,20,20); ";  // rows 0-3 20, rows 4-7 10

const struct PixelRow { int width, height; std::string calls; std::vector<Point> points; } kPixels[] = {
    // Seed 1 draws 346, 32552, 10851: one value a pixel, or three with colour.
    {8, 8, "subPlasma(1,1,1,256,false)", {{2, 0, {10851 & 255, 10851 & 255, 10851 & 255}}}},
    {8, 8, "subPlasma(1,1,1,256,true)", {{0, 0, {346 & 255, 32552 & 255, 10851 & 255}}}},
    {8, 8, "sinePlasma(1,0,0,256)", {{3, 3, kGrey}}}, {8, 8, "particle(1,0)", {{0, 0, kWhite}}},
    {8, 8, "sinePlasma(1,0.7,0.3,200)", {{0, 0, {99, 99, 99}}, {2, 6, {196, 196, 196}}}},
    {8, 8, "particle(1,1)", {{0, 4, {75, 75, 75}}, {6, 4, {165, 165, 165}}, {0, 0, kBlack}}},  // 255 - 180 at r 1
    {8, 8, "colorLayer(1,266,-1,3)", {{5, 5, {10, 255, 3}}}},
    // Range 1 masks draws to 0; step 0 never advances; octaves and blobs cleared; rule 0 keeps only row 0.
    {8, 8, "subPlasma(1,1,77,1,true)", {{3, 5, kBlack}}}, {8, 8, "subPlasma(1,0,4,256,true)", {{3, 5, kBlack}}},
    {8, 8, "perlinNoise(1,8,3,256,128,1,true)", {{3, 5, kBlack}}},
    {8, 8, "perlinNoise(1,1,3,256,256,50,true)", {{3, 5, kBlack}}}, {8, 8, "blobsLayer(1,12,0,true)", {{3, 5, kBlack}}},
    {64, 16, "cellMachine(1,3,0)", {{5, 9, kBlack}}}, {64, 16, "cellMachine(1,3,255)", {{5, 9, kWhite}}},
    // 256 = 2 x 100 + 56: each band repeats its first row.
    {256, 8, "checkerBoardLayer(1,100,4,1,2,3,200,100,50)",
     {{0, 3, kSecond}, {150, 3, kFirst}, {255, 3, kSecond}, {0, 4, kFirst}}},
    // Seed 12: a blob at (1, 7), strength 38065.59, R = 64 / 3, 86 at distance^2 20; seed 308: 150 x (0.1 + 40 / 255).
    {8, 8, "blobsLayer(1,12,1,false)", {{5, 5, {86, 86, 86}}, {1, 7, kWhite}, {0, 0, kBlack}}},
    {8, 8, "blobsLayer(1,308,1,false)", {{5, 4, {38, 38, 38}}}},
    // Escape counts; the steps are width / 64 across and height / 16 down; |c|^2 > 16 at once.
    {64, 16, "mandelBrot(1,-2,3,-1.5,3,16)", {{0, 0, {1, 254, 254}}, {40, 3, {13, 242, 242}}, {30, 8, {255, 0, 0}}}},
    {8, 8, "mandelBrot(1,10,1,10,1,16)", {{3, 3, {0, 255, 255}}}},
    {8, 8, "colorLayer(1,255,16,0); mulLayers(1,1,1,1,1)", {{0, 0, {255, 1, 0}}}},  // in place
    // At (5, 0) layer 0 holds (5, 0, 5) against 10s; on a tie the second source's byte is copied.
    {8, 8, kTens + "minCombineLayers(0,2,1,2,1)", {{5, 0, {10, 0, 10}}}},
    {8, 8, kTens + "maxCombineLayers(0,2,1,2,1)", {{5, 0, {10, 10, 10}}}},
    {8, 8, "randCombineLayers(0,0,1,0,0)", {{3, 5, kGrey}}},  // no pixels over grey
    // Seed 45390954: 5 rounds of source 1 (0.075 x 64) and 3 of source 2 alternate; (3, 3) is never written.
    {8, 8, "colorLayer(2,9,9,9); randCombineLayers(0,2,1,0.05,0.03)",
     {{1, 4, {9, 9, 9}}, {6, 6, {6, 6, 0}}, {4, 3, {4, 3, 7}}, {3, 3, kGrey}}},
    // Hue 300 x 0.016666667 = 5.0000001, so q = 200 x (1 - 1e-7) truncates to 199; then clamped.
    {8, 8, kRed + "adjustLayerHSV(2,1,120,0,0)", {{0, 0, {0, 255, 0}}}},
    {8, 8, kRed + "adjustLayerHSV(2,1,-60,0,-55)", {{0, 0, {200, 0, 199}}}},
    {8, 8, kRed + "adjustLayerHSV(2,1,0,5,1000)", {{0, 0, {255, 0, 0}}}},
    {8, 8, kRed + "adjustLayerHSV(2,1,0,-0.25,-1000)", {{0, 0, kBlack}}},
    {8, 8, kRed + "scaleLayerHSV(2,1,1,0,0.5)", {{0, 0, kGrey}}},
    {8, 8, kRed + "scaleLayerHSV(2,1,1,0.5,1)", {{0, 0, {255, 127, 127}}}},
    // f = 0 gives 127; sin of the single pi is -8.7e-8, so 127; sin of pi/2 is just below 1.
    {8, 8, "sineLayerRGB(0,1,0,1,0.5)", {{0, 1, {127, 127, 254}}}},
    // One level: equalize gives white, stretch (lo = hi) copies. Two: equalize maps 10 to 127.5, rounded
    // to even, 20 to 255; stretch (lo 10, hi 20) maps 10 to 15.
    {8, 8, "colorLayer(2,100,0,255); equalizeRGB(2,1)", {{0, 0, kWhite}}},
    {8, 8, "colorLayer(2,100,0,255); stretchRGB(2,1)", {{0, 0, {100, 0, 255}}}},
    {8, 8, kTwoLevels + "equalizeRGB(2,1)", {{0, 1, {128, 128, 128}}, {0, 0, kWhite}}},
    {8, 8, kTwoLevels + "stretchRGB(2,1)", {{0, 1, {15, 15, 15}}, {0, 0, {20, 20, 20}}}},
    // Counts outside 0 to 8 copy; a negative radius acts as 0.
    {8, 8, "woodLayer(0,1,9)", {{5, 3, {5, 3, 6}}}}, {8, 8, "motionBlur(0,1,-5)", {{5, 3, {5, 3, 6}}}},
    {8, 8, "colorLayer(2,77,200,3); sculptureLayer(2,1)", {{0, 0, {128, 128, 128}}}},
    // gx > 0 127, gx < 0 = gy 0; gx = 0 < gy 196, gy < 0 64; gy = gx > 0 159, gy = -gx 95 (wrapping).
    {8, 8, "sculptureLayer(0,1)", {{0, 0, {127, 196, 159}}, {7, 0, {127, 196, 95}}, {3, 4, {0, 64, 95}}}},
    // r = 6 around (8, 8); at (8, 1) t = 13 x 0.75 / 28, a = t / 3 and b = 1 - t weigh the mirrors and the
    // pixel; far out a = b = 0.25; inside nothing is written. Border 0 reaches the corners, not the edges.
    {16, 16, "makeTilable(0,1,2)", {{8, 1, {7, 4, 8}}, {0, 0, {7, 7, 7}}, {8, 2, kBlack}}},
    {16, 16, "makeTilable(0,1,0)", {{0, 0, {7, 7, 7}}, {8, 0, kBlack}}},
    // Border 4: at (3, 2) t = 45 / 64 < 0.75, a = 0.2343748 and b = 0.296875 weigh 48 + 192 + 192 and 48.
    {16, 16, "scaleLayerRGB(0,2,16,16,16); makeTilable(2,1,4)", {{3, 2, {115, 114, 113}}}},
    {8, 8, "sineDistort(0,1,0.7,1.5,1.3,2)", {{3, 2, {4, 0, 4}}, {2, 6, {0, 6, 6}}}},
    {8, 8, "twirlLayer(0,1,5,0.3)", {{3, 3, {5, 4, 0}}, {6, 2, {6, 5, 0}}, {0, 0, kBlack}, {7, 7, {7, 7, 0}}}},
    {8, 8, "tunnelDistort(0,1,2)", {{3, 2, {1, 0, 1}}, {2, 6, {7, 0, 6}}, {4, 6, {4, 0, 4}}}},  // x = 4 repeats x = 3
    {8, 8, "logPolLayer(0,1)", {{0, 0, {5, 4, 1}}, {3, 2, {0, 4, 4}}, {6, 3, {4, 2, 6}}}},  // radius e^0 at (0, 0)
    {8, 8, "colorLayer(2,0,1,4); mapDistort(0,2,1,0.5,-1)", {{2, 1, {4, 5, 1}}}},  // v 4: 2 right, 4 up
    // No such quadrant: unchanged. Quadrant 3 in place: its first step overwrites the copied block.
    {8, 8, "colorLayer(1,50,50,50); kaleidLayer(0,1,0); kaleidLayer(0,1,5)", {{3, 5, {50, 50, 50}}}},
    {8, 8, "kaleidLayer(0,0,3); moveDistort(0,1,0,0)", {{1, 6, {6, 6, 0}}}},
};

TEST(TexgenPixels, WorkedOutPixels) {
  for (const PixelRow& row : kPixels) {
    ASSERT_TRUE(InitLayers(row.width, row.height).ok());
    Paint(0, Distinct);
    RunCalls(row.calls);
    for (const auto& [x, y, rgb] : row.points) EXPECT_EQ(PixelOf(1, x, y), rgb) << row.calls << " at " << x << "," << y;
  }
  FreeLayers();
}

}  // namespace
