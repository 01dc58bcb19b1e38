// Combiners, colour operations and neighbourhood filters on random layers against their formulas,
// written out here apart from the code.
#include <cstdlib>

#include "support.h"

namespace {

using TexgenLayerOps = LayersOf<8, 8>;

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
    {"adjustLayerRGB(0,2,100,-100,7)",
     [](int k, int a, int) { return Clamp(a + Of(k, 100, -100, 7)); }},
    {"invertLayer(0,2)", [](int, int a, int) { return 255 - a; }},
    {"woodLayer(0,2,3)", [](int, int a, int) { return (a << 3 | a >> 5) & 255; }},
    {"woodLayer(0,2,4)", [](int, int a, int) { return (a << 4 | a >> 4) & 255; }},
};

TEST_F(TexgenLayerOps, ChannelFormulas) {
  FillNoise(0, 1);
  FillNoise(1, 2);
  for (const ChannelRow& row : kChannelRows) {
    RunCalls(row.call);
    ExpectLayer(2, row.call, [&](int x, int y, int k) {
      return row.expected(k, PixelOf(0, x, y)[k], PixelOf(1, x, y)[k]);
    });
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

int Emboss(const Neighbours& n) {
  const int gx = 128 + (n.ra + n.rm + n.rb) - (n.la + n.lm + n.lb);
  const int gy = 128 + (n.lb + n.cb + n.rb) - (n.la + n.ca + n.ra);
  return std::min(255, static_cast<int>(ISqrt(gx * gx + gy * gy)));
}

const struct FilterRow {
  const char* call;  // source 0, target 1
  int (*expected)(const Neighbours& n);
} kFilterRows[] = {
    {"blurLayer(0,1)",
     [](const Neighbours& n) {
       return (n.Above() + 2 * (n.lm + 2 * n.c + n.rm) + n.Below()) >> 4;
     }},
    {"sharpenLayer(0,1)",
     [](const Neighbours& n) {
       const int v =
           (5 * n.c >> 1) - ((n.la + n.ra + n.lb + n.rb) >> 3) - ((n.ca + n.lm + n.rm + n.cb) >> 2);
       return std::clamp(v, 0, 255);
     }},
    {"edgeVLayer(0,1)",
     [](const Neighbours& n) { return std::min(255, 2 * std::abs(n.Left() - n.Right())); }},
    {"edgeHLayer(0,1)",
     [](const Neighbours& n) { return std::min(255, 2 * std::abs(n.Above() - n.Below())); }},
    {"embossLayer(0,1)", Emboss},
    {"dilateLayer(0,1)", [](const Neighbours& n) { return std::ranges::max(n.All()); }},
    {"erodeLayer(0,1)", [](const Neighbours& n) { return std::ranges::min(n.All()); }},
    {"medianLayer(0,1)", Median},
    {"medianLayer(0,0); moveDistort(0,1,0,0)", Median},  // in place, through the scratch copy
};

TEST_F(TexgenLayerOps, FilterFormulasOnRandomLayers) {
  for (const FilterRow& row : kFilterRows) {
    for (int top : {255, 40}) {  // full range, and values whose edges stay below the cap
      FillNoise(0, top, top);
      FillNoise(5, 1);                                          // whatever the scratch layer held
      Paint(2, [](int x, int y) { return PixelOf(0, x, y); });  // the source before the call
      RunCalls(row.call);
      ExpectLayer(1, row.call, [&](int x, int y, int k) {
        auto at = [&](int dx, int dy) { return PixelOf(2, (x + dx) & 7, (y + dy) & 7)[k]; };
        return row.expected({at(-1, -1), at(0, -1), at(1, -1), at(-1, 0), at(0, 0), at(1, 0),
                             at(-1, 1), at(0, 1), at(1, 1)});
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
    ExpectLayer(1, "motionBlur", [&](int x, int y, int k) { return TriangleBlur(x, y, k, n); });
  }
  RunCalls("motionBlur(0,2,2000000000)");
  EXPECT_TRUE(SameLayers(1, 2));  // beyond the width: acts as the width
}

}  // namespace
