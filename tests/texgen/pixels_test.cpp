// Single pixels of many operations, worked out by hand or from the operations' written formulas
// (single-precision steps, cosine interpolation) apart from this code. Each row starts from fresh
// layers with layer 0 = Distinct(x, y) and the others black, runs its calls and reads layer 1.
#include "support.h"

namespace {

struct Point {
  int x, y;
  Rgb rgb;
};

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kGrey{127, 127, 127};
constexpr Rgb kFirst{1, 2, 3}, kSecond{200, 100, 50};  // the boards' two colours
const std::string kRed = "colorLayer(2,255,0,0); ", kTens = "colorLayer(2,10,10,10); ";
const std::string kTwoLevels = "checkerBoardLayer(2,8,4,10,10,10,20,20,20); ";  // rows 0-3 20, rows 4-7 10

const struct PixelRow {
  int width, height;
  std::string calls;
  std::vector<Point> points;
} kPixels[] = {
    // Seed 1 draws 346, 32552, 10851: one value a pixel, or three with colour.
    {8, 8, "subPlasma(1,1,1,256,false)", {{2, 0, {10851 & 255, 10851 & 255, 10851 & 255}}}},
    {8, 8, "subPlasma(1,1,1,256,true)", {{0, 0, {346 & 255, 32552 & 255, 10851 & 255}}}},
    {8, 8, "sinePlasma(1,0,0,256)", {{3, 3, kGrey}}},
    {8, 8, "sinePlasma(1,0.7,0.3,200)", {{0, 0, {99, 99, 99}}, {2, 6, {196, 196, 196}}}},
    {8, 8, "particle(1,1)", {{0, 4, {75, 75, 75}}, {6, 4, {165, 165, 165}}, {0, 0, kBlack}}},  // 255 - 180 at r 1
    {8, 8, "particle(1,0)", {{0, 0, kWhite}}},
    {8, 8, "colorLayer(1,266,-1,3)", {{5, 5, {10, 255, 3}}}},
    // Range 1 masks each draw to 0; step 0 would never advance; one octave is cleared; step 1 halves to 0
    // at once; no blobs; cell rule 0 leaves only row 0 alive.
    {8, 8, "subPlasma(1,1,77,1,true)", {{3, 5, kBlack}}}, {8, 8, "subPlasma(1,0,4,256,true)", {{3, 5, kBlack}}},
    {8, 8, "perlinNoise(1,8,3,256,128,1,true)", {{3, 5, kBlack}}},
    {8, 8, "perlinNoise(1,1,3,256,256,50,true)", {{3, 5, kBlack}}},
    {8, 8, "blobsLayer(1,12,0,true)", {{3, 5, kBlack}}}, {64, 16, "cellMachine(1,3,0)", {{5, 9, kBlack}}},
    {64, 16, "cellMachine(1,3,255)", {{5, 9, kWhite}}},
    // 256 = 2 x 100 + 56: each band repeats its first row.
    {256, 8, "checkerBoardLayer(1,100,4,1,2,3,200,100,50)",
     {{0, 3, kSecond}, {150, 3, kFirst}, {255, 3, kSecond}, {0, 4, kFirst}}},
    // Seed 12: one grey blob at (1, 7) of strength 38065.59, R = 64 / 3; at distance^2 20 d = 0.9375 and
    // the falloff 0.0022888 give 86, farther out it is negative. Seed 308: at (5, 4), 150 x (0.1 + 40 / 255).
    {8, 8, "blobsLayer(1,12,1,false)", {{5, 5, {86, 86, 86}}, {1, 7, kWhite}, {0, 0, kBlack}}},
    {8, 8, "blobsLayer(1,308,1,false)", {{5, 4, {38, 38, 38}}}},
    // Escape counts; the steps are width / 64 across and height / 16 down; |c|^2 > 16 at once.
    {64, 16, "mandelBrot(1,-2,3,-1.5,3,16)", {{0, 0, {1, 254, 254}}, {40, 3, {13, 242, 242}}, {30, 8, {255, 0, 0}}}},
    {8, 8, "mandelBrot(1,10,1,10,1,16)", {{3, 3, {0, 255, 255}}}},
    {8, 8, "colorLayer(1,255,16,0); mulLayers(1,1,1,1,1)", {{0, 0, {255, 1, 0}}}},  // in place
    // At (5, 0) layer 0 holds (5, 0, 5) against 10s; on a tie the second source's byte is copied.
    {8, 8, kTens + "minCombineLayers(0,2,1,2,1)", {{5, 0, {10, 0, 10}}}},
    {8, 8, kTens + "maxCombineLayers(0,2,1,2,1)", {{5, 0, {10, 10, 10}}}},
    {8, 8, kTens + "minCombineLayers(0,2,1,1,1)", {{5, 0, {5, 0, 5}}}},
    {8, 8, kTens + "maxCombineLayers(0,2,1,3,1)", {{5, 0, {5, 10, 5}}}},
    {8, 8, "randCombineLayers(0,0,1,0,0)", {{3, 5, kGrey}}},  // no pixels over grey
    // After the seed 45390954, 5 rounds of source 1 (0.075 x 64) and 3 of source 2 (0.045 x 64) alternate:
    // (1, 4) is written by 1, then 2; (6, 6) the other way round; (4, 3) by round 5 of 1; (3, 3) never.
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
    {8, 8, "colorLayer(2,100,0,255); equalizeRGB(2,1)", {{0, 0, kWhite}}},
    {8, 8, "colorLayer(2,100,0,255); stretchRGB(2,1)", {{0, 0, {100, 0, 255}}}},  // lo = hi
    // Equalize maps 10 to 127.5, rounded to even, and 20 to 255; stretch (lo 10, hi 20) maps 10 to 15.
    {8, 8, kTwoLevels + "equalizeRGB(2,1)", {{0, 1, {128, 128, 128}}, {0, 0, kWhite}}},
    {8, 8, kTwoLevels + "stretchRGB(2,1)", {{0, 1, {15, 15, 15}}, {0, 0, {20, 20, 20}}}},
    // Whole turns copy, and so do counts outside 0 to 8; a negative radius acts as 0.
    {8, 8, "woodLayer(0,1,0)", {{5, 3, {5, 3, 6}}}}, {8, 8, "woodLayer(0,1,8)", {{5, 3, {5, 3, 6}}}},
    {8, 8, "woodLayer(0,1,9)", {{5, 3, {5, 3, 6}}}}, {8, 8, "motionBlur(0,1,-5)", {{5, 3, {5, 3, 6}}}},
    {8, 8, "colorLayer(2,77,200,3); sculptureLayer(2,1)", {{0, 0, {128, 128, 128}}}},
    // Channel 0: gx > 0 (across the wrap) 127, gx < 0 = gy 0; channel 1: gx = 0 < gy (across the wrap)
    // 196, gy < 0 64; channel 2: gy = gx > 0 159, gy = -gx 95.
    {8, 8, "sculptureLayer(0,1)", {{0, 0, {127, 196, 159}}, {7, 0, {127, 196, 95}}, {3, 4, {0, 64, 95}}}},
    // r = 6 around (8, 8); at (8, 1) t = 13 x 0.75 / 28, a = 0.333333 t and b = 1 - t weigh the mirrors
    // and the pixel (channel 1: 0.1161 x (14 + 14 + 1) + 0.6518 x 1 = 4.02); far out a = b = 0.25;
    // inside the circle nothing is written. Border 0 reaches the corners but not the edge midpoints.
    {16, 16, "makeTilable(0,1,2)", {{8, 1, {7, 4, 8}}, {0, 0, {7, 7, 7}}, {8, 2, kBlack}}},
    {16, 16, "makeTilable(0,1,0)", {{0, 0, {7, 7, 7}}, {8, 0, kBlack}}},
    // Border 4: at (3, 2) t = 45 / 64, still below 0.75, so a = 0.2343748 and b = 0.296875 weigh the
    // mirrors 48 + 192 + 192 and the pixel 48 of channel 0 (layer 0 times 16).
    {16, 16, "scaleLayerRGB(0,2,16,16,16); makeTilable(2,1,4)", {{3, 2, {115, 114, 113}}}},
    {8, 8, "sineDistort(0,1,0.7,1.5,1.3,2)", {{3, 2, {4, 0, 4}}, {2, 6, {0, 6, 6}}}},
    {8, 8, "twirlLayer(0,1,5,0.3)",  // the corners lie beyond hx: copied
     {{3, 3, {5, 4, 0}}, {6, 2, {6, 5, 0}}, {0, 0, kBlack}, {7, 7, {7, 7, 0}}}},
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
