#include "texgen/internal/combiners.h"

#include <algorithm>
#include <cstring>

#include "texgen/internal/helpers.h"
#include "texgen/internal/layers.h"
#include "texgen/internal/numeric.h"

namespace {

// Applies `combine(a, b)` to every channel byte of the two sources into the target.
template <typename Combine>
void CombineBytes(int source1, int source2, int target, Combine combine) {
  const std::uint8_t* a = LayerData(source1);
  const std::uint8_t* b = LayerData(source2);
  std::uint8_t* out = LayerData(target);
  const std::size_t bytes = LayerBytes();
  for (std::size_t i = 0; i < bytes; ++i) out[i] = combine(a[i], b[i]);
}

long double Weighted(float weight, std::uint8_t v) { return static_cast<long double>(weight) * v; }

}  // namespace

void addLayers(int source1, int source2, int target, float weight1, float weight2) {
  CombineBytes(source1, source2, target, [=](std::uint8_t a, std::uint8_t b) {
    return ClampToByte(static_cast<float>(Weighted(weight2, b) + Weighted(weight1, a)));
  });
}

void mulLayers(int source1, int source2, int target, float weight1, float weight2) {
  const float f = static_cast<float>(0.00392156862745L * weight2 * weight1);
  CombineBytes(source1, source2, target, [=](std::uint8_t a, std::uint8_t b) {
    return ClampToByte(static_cast<long double>(f) * (a * b));
  });
}

void minCombineLayers(int source1, int source2, int target, float weight1, float weight2) {
  CombineBytes(source1, source2, target, [=](std::uint8_t a, std::uint8_t b) {
    return Weighted(weight1, a) < Weighted(weight2, b) ? a : b;
  });
}

void maxCombineLayers(int source1, int source2, int target, float weight1, float weight2) {
  CombineBytes(source1, source2, target, [=](std::uint8_t a, std::uint8_t b) {
    return Weighted(weight2, b) < Weighted(weight1, a) ? a : b;
  });
}

void xorLayers(int source1, int source2, int target, float weight1, float weight2) {
  CombineBytes(source1, source2, target, [=](std::uint8_t a, std::uint8_t b) {
    return LowByte(TruncateReal(Weighted(weight1, a)) ^ TruncateReal(Weighted(weight2, b)));
  });
}

void orLayers(int source1, int source2, int target, float weight1, float weight2) {
  CombineBytes(source1, source2, target, [=](std::uint8_t a, std::uint8_t b) {
    return LowByte(TruncateReal(Weighted(weight1, a)) | TruncateReal(Weighted(weight2, b)));
  });
}

void andLayers(int source1, int source2, int target, float weight1, float weight2) {
  CombineBytes(source1, source2, target, [=](std::uint8_t a, std::uint8_t b) {
    return LowByte(TruncateReal(Weighted(weight1, a)) & TruncateReal(Weighted(weight2, b)));
  });
}

namespace {

// randCombineLayers copies at most this many pixel pairs per source for each pixel of the layer:
// weights above about 10.7 (1.5 x weight > 16) saturate instead of running for ever.
constexpr long double kMaxScatterPerPixel = 16.0L;

// How many pixel pairs of a source the scatter copies: 1.5 x weight (single) x pixels, rounded.
std::int64_t ScatterCount(float weight) {
  const long double pixels = static_cast<long double>(generatorState.width) * generatorState.height;
  const float scaled = static_cast<float>(1.5L * weight);
  const long double wanted =
      std::clamp(static_cast<long double>(scaled) * pixels, 0.0L, kMaxScatterPerPixel * pixels);
  return wanted == wanted ? RoundReal(wanted) : 0;  // a NaN weight copies nothing
}

void CopyPixel(const std::uint8_t* from, std::uint8_t* to, std::uint32_t x, std::uint32_t y) {
  std::memcpy(PixelAt(to, x, y), PixelAt(from, x, y), 3);
}

constexpr std::int32_t kScatterSeed = 45390954;

}  // namespace

void randCombineLayers(int source1, int source2, int target, float weight1, float weight2) {
  FillLayer(kScratchLayer, 127);
  SeedRandom(kScatterSeed);
  const std::int64_t na = ScatterCount(weight1);
  const std::int64_t nb = ScatterCount(weight2);
  const std::uint8_t* a = LayerData(source1);
  const std::uint8_t* b = LayerData(source2);
  std::uint8_t* scratch = LayerData(kScratchLayer);
  for (std::int64_t i = 0, j = 0; i < na || j < nb;) {
    if (i < na) {
      const std::uint32_t r1 = NextRandom(), r2 = NextRandom();
      CopyPixel(a, scratch, r1 >> 1, r2);
      const std::uint32_t r3 = NextRandom(), r4 = NextRandom();
      CopyPixel(a, scratch, r3, r4 >> 2);
      ++i;
    }
    if (j < nb) {
      const std::uint32_t r5 = NextRandom(), r6 = NextRandom();
      CopyPixel(b, scratch, r6, r5 >> 1);
      const std::uint32_t r7 = NextRandom(), r8 = NextRandom();
      CopyPixel(b, scratch, r8 >> 2, r7);
      ++j;
    }
  }
  CopyLayer(kScratchLayer, target);
}
