#include "texgen/internal/distortions.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "texgen/internal/helpers.h"
#include "texgen/internal/layers.h"
#include "texgen/internal/numeric.h"

namespace {

const GeneratorState& State() { return generatorState; }

using Real = long double;

float Single(Real v) { return static_cast<float>(v); }

// "Via a copy": the source goes to the scratch layer, `write(x, y, out)` fills each target pixel.
template <typename Write>
void ThroughCopy(int source, int target, Write write) {
  CopyLayer(source, kScratchLayer);
  std::uint8_t* out = LayerData(target);
  for (std::int32_t y = 0; y < State().height; ++y) {
    for (std::int32_t x = 0; x < State().width; ++x) write(x, y, PixelAt(out, x, y));
  }
}

// "Via scratch output": `write(x, y, out)` fills the scratch layer, which then becomes the target.
template <typename Write>
void ThroughScratch(int target, Write write) {
  std::uint8_t* scratch = LayerData(kScratchLayer);
  for (std::int32_t y = 0; y < State().height; ++y) {
    for (std::int32_t x = 0; x < State().width; ++x) write(x, y, PixelAt(scratch, x, y));
  }
  CopyLayer(kScratchLayer, target);
}

void CopyFrom(const std::uint8_t* layer, std::int64_t x, std::int64_t y, std::uint8_t* out) {
  std::memcpy(out, PixelAt(layer, x, y), 3);
}

}  // namespace

void sineDistort(int source, int target, float freqY, float ampX, float freqX, float ampY) {
  long double waveY[kMaxLayerSize];  // the vertical displacement depends on the column only
  for (std::int32_t x = 0; x < State().width; ++x) {
    waveY[x] = ampY * std::sin(static_cast<Real>(freqX) * x);
  }
  float ox = 0.0f;
  std::int32_t row = -1;
  ThroughCopy(source, target, [&](std::int32_t x, std::int32_t y, std::uint8_t* out) {
    if (y != row) {
      row = y;
      ox = Single(ampX * std::sin(static_cast<Real>(freqY) * y));
    }
    const float sx = Single(static_cast<Real>(ox) + x);
    const float sy = Single(y + waveY[x]);
    Sample(kScratchLayer, sx, sy, out);
  });
}

void moveDistort(int source, int target, std::int32_t dx, std::int32_t dy) {
  const std::uint8_t* in = LayerData(source);
  ThroughScratch(target, [&](std::int64_t x, std::int64_t y, std::uint8_t* out) {
    CopyFrom(in, x + dx, y + dy, out);
  });
}

// The jitter's bit count is limited to 0 to 16, the range in which its offsets are defined.
void noiseDistort(int source, int target, std::int32_t seed, std::int32_t bits) {
  SeedRandom(seed);
  const int shift = 16 - std::clamp(bits, 0, 16);
  const std::uint8_t* in = LayerData(source);
  ThroughScratch(target, [&](std::int64_t x, std::int64_t y, std::uint8_t* out) {
    const std::int64_t r1 = NextRandom();
    const std::int64_t r2 = NextRandom();
    // An arithmetic shift of a signed value is the floor of the division by 2^shift.
    CopyFrom(in, x + ((r1 - 32767) >> shift), y + ((r2 - 32767) >> shift), out);
  });
}

void mapDistort(int source, int map, int target, float scaleX, float scaleY) {
  const std::uint8_t* m = LayerData(map);
  ThroughScratch(target, [&](std::int32_t x, std::int32_t y, std::uint8_t* out) {
    const std::uint8_t* p = PixelAt(m, x, y);
    const int v = std::max({p[0], p[1], p[2]});
    const float sx = Single(x + static_cast<Real>(Single(static_cast<Real>(scaleX) * v)));
    const float sy = Single(y + static_cast<Real>(Single(static_cast<Real>(scaleY) * v)));
    Sample(source, sx, sy, out);
  });
}

void tileLayer(int source, int target) {
  const std::uint8_t* in = LayerData(source);
  ThroughScratch(target, [&](std::int64_t x, std::int64_t y, std::uint8_t* out) {
    const std::int64_t fromX = (2 * x) & State().maskX, fromY = (2 * y) & State().maskY;
    const std::uint8_t* a = PixelAt(in, fromX, fromY);
    const std::uint8_t* b = PixelAt(in, fromX + 1, fromY);
    const std::uint8_t* c = PixelAt(in, fromX, fromY + 1);
    const std::uint8_t* d = PixelAt(in, fromX + 1, fromY + 1);
    for (int k = 0; k < kChannels; ++k)
      out[k] = static_cast<std::uint8_t>((a[k] + b[k] + c[k] + d[k]) >> 2);
  });
}

// A radiusScale of 0 has no twirl to speak of: the source is copied.
void twirlLayer(int source, int target, float strength, float radiusScale) {
  if (radiusScale == 0.0f) {
    CopyLayer(source, target);
    return;
  }
  const Real area = 2.0L * State().width * State().height;
  const float k = Single(1.0L / (std::sqrt(area) * radiusScale));
  const std::int32_t hx = State().width / 2, hy = State().height / 2;
  const std::uint8_t* copy = LayerData(kScratchLayer);
  ThroughCopy(source, target, [&](std::int32_t x, std::int32_t y, std::uint8_t* out) {
    const float fy = Single(y - hy), fx = Single(x - hx);
    const float r = FastSqrt(Single(static_cast<Real>(fx) * fx + static_cast<Real>(fy) * fy));
    const float t = Single(hx - static_cast<Real>(r));
    if (t <= 0.0f) {
      CopyFrom(copy, x, y, out);
      return;
    }
    const float theta = Single(static_cast<Real>(k) * t * t * strength);
    const float c = SingleCos(theta);
    const float s = SingleSin(theta);
    const float sx = Single(hx + (static_cast<Real>(c) * fx - static_cast<Real>(s) * fy));
    const float sy = Single(hy + (static_cast<Real>(c) * fy + static_cast<Real>(s) * fx));
    Sample(kScratchLayer, sx, sy, out);
  });
}

namespace {

float TunnelAngle(float i, float fy) {
  const auto exact = [=] { return Single(std::atan(static_cast<Real>(i) * fy)); };
  // A product of two singles is exact in double.
  return SingleNear(std::atan(static_cast<double>(i) * fy), kTrigBound, exact);
}

float TunnelDepth(float i, float depth, float a) {
  const auto exact = [=] {
    return Single(std::fabs(static_cast<Real>(i) * depth * std::cos(static_cast<Real>(a))));
  };
  const double approx =
      std::fabs(static_cast<double>(i) * depth * std::cos(static_cast<double>(a)));
  return SingleNear(approx, approx * 1e-14, exact);  // three roundings of 2^-53 at most
}

}  // namespace

void tunnelDistort(int source, int target, float depth) {
  const float k = Single(State().width / (2.0L * kPi));
  const std::int32_t hx = State().width / 2, hy = State().height / 2;
  std::uint8_t* result = LayerData(target);
  ThroughCopy(source, target, [&](std::int32_t x, std::int32_t y, std::uint8_t* out) {
    const float fy = Single(y - hy), fx = Single(x - hx);
    if (fx == 0.0f) {
      CopyFrom(result, x - 1, y, out);  // the centre column repeats its left neighbour
      return;
    }
    const float i = Single(1.0L / fx);
    const float a = TunnelAngle(i, fy);
    const float u =
        i > 0.0f ? Single(hx + static_cast<Real>(a) * k) : Single(static_cast<Real>(a) * k);
    const float v = TunnelDepth(i, depth, a);
    Sample(kScratchLayer, u, v, out);
  });
}

void logPolLayer(int source, int target) {
  const float k = Single(2.0L * kPi / State().height);
  const float cx = static_cast<float>(State().width / 2),
              cy = static_cast<float>(State().height / 2);
  long double cosA[kMaxLayerSize], sinA[kMaxLayerSize];  // the angle depends on the column only
  for (std::int32_t x = 0; x < State().width; ++x) {
    const float a = Single(static_cast<Real>(k) * x);
    cosA[x] = std::cos(static_cast<Real>(a));
    sinA[x] = std::sin(static_cast<Real>(a));
  }
  float rho = 0.0f;
  std::int32_t row = -1;
  ThroughScratch(target, [&](std::int32_t x, std::int32_t y, std::uint8_t* out) {
    if (y != row) {
      row = y;
      rho = Single(std::exp(static_cast<Real>(k) * y));
    }
    const float sx = Single(cx + cosA[x] * rho);
    const float sy = Single(cy + sinA[x] * rho);
    Sample(source, sx, sy, out);
  });
}

namespace {

void CopyBlock(const std::uint8_t* from, std::uint8_t* to, std::int32_t x0, std::int32_t y0) {
  const std::int32_t hx = State().width / 2, hy = State().height / 2;
  for (std::int32_t y = y0; y < y0 + hy; ++y) {
    std::memmove(PixelAt(to, x0, y), PixelAt(from, x0, y),
                 static_cast<std::size_t>(hx) * kChannels);
  }
}

// One mirror step of the kaleidoscope, on the target in place.
void MirrorStep(std::uint8_t* t, int step) {
  const std::int32_t w = State().width, h = State().height, hx = w / 2, hy = h / 2;
  for (std::int32_t y = 0; y < hy; ++y) {
    for (std::int32_t x = 0; x < hx; ++x) {
      switch (step) {
        case 0:
          CopyFrom(t, x, y, PixelAt(t, w - 1 - x, y));
          break;  // TL -> TR
        case 1:
          CopyFrom(t, hx + x, y, PixelAt(t, hx + x, h - 1 - y));
          break;  // TR -> BR
        case 2:
          CopyFrom(t, w - 1 - x, hy + y, PixelAt(t, x, hy + y));
          break;  // BR -> BL
        default:
          CopyFrom(t, x, h - 1 - y, PixelAt(t, x, y));
          break;  // BL -> TL
      }
    }
  }
}

}  // namespace

// Quadrants are 1 to 4; any other value leaves the target unchanged.
void kaleidLayer(int source, int target, std::int32_t quadrant) {
  if (quadrant < 1 || quadrant > 4) return;
  const int q = quadrant - 1;
  std::uint8_t* t = LayerData(target);
  CopyBlock(LayerData(source), t, (q % 2) * (State().width / 2), (q / 2) * (State().height / 2));
  MirrorStep(t, q);
  MirrorStep(t, quadrant % 4);
  MirrorStep(t, (quadrant + 1) % 4);
}
