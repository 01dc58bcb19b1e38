// Distortions as whole layers: in a Distinct layer a pixel tells where it was read from.
#include <cmath>

#include "support.h"

namespace {

using TexgenDistortions = LayersOf<8, 8>;

TEST_F(TexgenDistortions, WholePixelReadsFromShiftedPositions) {
  const struct {
    const char* call;  // source 0, target 1
    int dx, dy;
  } moves[] = {{"moveDistort(0,1,8,8)", 0, 0},
               {"moveDistort(0,1,1,0)", 1, 0},
               {"moveDistort(0,1,-3,2)", -3, 2},
               {"moveDistort(0,1,-2147483648,8)", 0, 0},
               {"moveDistort(0,0,1,-1); moveDistort(0,1,0,0)", 1, -1},  // in place
               {"sineDistort(0,1,0.7,0,1.3,0)", 0, 0},                  // amplitudes 0
               {"colorLayer(2,0,0,0); mapDistort(0,2,1,5,7)", 0, 0},    // a black map
               {"colorLayer(2,1,3,2); mapDistort(0,2,1,1,2)", 3, 6},    // the brightest channel
               {"twirlLayer(0,1,3,0)", 0, 0}};                          // radiusScale 0 copies
  for (const auto& row : moves) {
    Paint(0, Distinct);
    RunCalls(row.call);
    ExpectLayer(1, row.call,
                [&](int x, int y, int k) { return Distinct(x + row.dx, y + row.dy)[k]; });
  }
}

// The offsets are floor((r - 32767) / 2^(16 - bits)) of two draws per pixel, row by row.
TEST_F(TexgenDistortions, NoiseDistortOffsetsComeFromTheSeededDraws) {
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

TEST_F(TexgenDistortions, TileAndKaleidoscope) {
  Paint(0, [](int x, int y) { return Rgb{std::uint8_t(x * 10), std::uint8_t(y * 20), 7}; });
  RunCalls("tileLayer(0,0)");  // the mean of each 2 x 2 block, repeated 2 x 2
  ExpectLayer(0, "tileLayer", [](int x, int y, int k) {
    return std::array{(2 * x & 7) * 10 + 5, (2 * y & 7) * 20 + 10, 7}[k];
  });
  Paint(0, Distinct);
  RunCalls("kaleidLayer(0,1,1)");  // the top-left block mirrored about both centre lines
  ExpectLayer(1, "quadrant 1", [](int x, int y, int k) {
    return Distinct(x < 4 ? x : 7 - x, y < 4 ? y : 7 - y)[k];
  });
  RunCalls("kaleidLayer(0,1,2)");  // the same from the top-right block
  ExpectLayer(1, "quadrant 2", [](int x, int y, int k) {
    return Distinct(x < 4 ? 7 - x : x, y < 4 ? y : 7 - y)[k];
  });
}

}  // namespace
