#include "texgen/internal/generators.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "texgen/internal/helpers.h"
#include "texgen/internal/layers.h"
#include "texgen/internal/numeric.h"

namespace {

const GeneratorState& State() { return generatorState; }

void SetPixel(std::uint8_t* p, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  p[0] = r;
  p[1] = g;
  p[2] = b;
}

void DrawPlasmaGrid(std::uint8_t* data, std::int64_t step, std::uint32_t mask, bool colour) {
  for (std::int64_t y = 0; y < State().height; y += step) {
    for (std::int64_t x = 0; x < State().width; x += step) {
      std::uint8_t* p = PixelAt(data, x, y);
      p[0] = static_cast<std::uint8_t>(NextRandom() & mask);
      if (colour) {
        p[1] = static_cast<std::uint8_t>(NextRandom() & mask);
        p[2] = static_cast<std::uint8_t>(NextRandom() & mask);
      } else {
        p[1] = p[2] = p[0];
      }
    }
  }
}

// Inside one cell the writes wrap; once a step exceeds the layer, the later offsets overwrite the
// earlier ones, so only the last `size` offsets of each axis decide the result.
std::int64_t FirstOffset(std::int64_t step, std::int32_t size) {
  return step > size ? step - size : 0;
}

// The cosine weights of the offsets first..step-1 of one axis, f x i as singles. At most
// kMaxLayerSize offsets are ever used (see FirstOffset), so a fixed table holds them.
struct AxisWeights {
  std::int64_t first = 0;
  float weight[kMaxLayerSize];

  void Fill(std::int64_t step, std::int32_t size, float f) {
    first = FirstOffset(step, size);
    for (std::int64_t i = first; i < step; ++i) {
      weight[i - first] = CosineWeight(static_cast<float>(static_cast<long double>(f) * i));
    }
  }
};

void InterpolateCell(std::uint8_t* data, std::int64_t x0, std::int64_t y0, std::int64_t step,
                     const AxisWeights& wx, const AxisWeights& wy) {
  std::uint8_t c00[3], c10[3], c01[3], c11[3];
  std::memcpy(c00, PixelAt(data, x0, y0), 3);
  std::memcpy(c10, PixelAt(data, x0 + step, y0), 3);
  std::memcpy(c01, PixelAt(data, x0, y0 + step), 3);
  std::memcpy(c11, PixelAt(data, x0 + step, y0 + step), 3);
  for (std::int64_t j = wy.first; j < step; ++j) {
    const float b = wy.weight[j - wy.first];
    for (std::int64_t i = wx.first; i < step; ++i) {
      CosBlend(c00, c10, c01, c11, wx.weight[i - wx.first], b, PixelAt(data, x0 + i, y0 + j));
    }
  }
}

}  // namespace

// A step below 1 would never advance the grid: such a plasma stays black (after seeding).
void subPlasma(int layer, std::int32_t step, std::int32_t seed, std::int32_t range, bool colour) {
  std::uint8_t* data = LayerData(layer);
  FillLayer(layer, 0);
  if (seed != 0) SeedRandom(seed);
  if (step < 1) return;
  const std::uint32_t mask = (static_cast<std::uint32_t>(range) - 1u) & 255u;
  DrawPlasmaGrid(data, step, mask, colour);
  if (step <= 1) return;
  const float f = static_cast<float>(1.0L / step);
  AxisWeights wx, wy;
  wx.Fill(step, State().width, f);
  wy.Fill(step, State().height, f);
  for (std::int64_t y0 = 0; y0 < State().height; y0 += step) {
    for (std::int64_t x0 = 0; x0 < State().width; x0 += step)
      InterpolateCell(data, x0, y0, step, wx, wy);
  }
}

void perlinNoise(int layer, std::int32_t step, std::int32_t seed, std::int32_t amplitude,
                 std::int32_t persistence, std::int32_t octaves, bool colour) {
  subPlasma(layer, step, seed, 1, colour);
  std::uint8_t* data = LayerData(layer);
  const std::uint8_t* scratch = LayerData(kScratchLayer);
  const std::size_t bytes = LayerBytes();
  for (std::int64_t octave = 1; octave < octaves; ++octave) {
    const std::uint32_t product =
        static_cast<std::uint32_t>(amplitude) * static_cast<std::uint32_t>(persistence);
    amplitude = static_cast<std::int32_t>(product >> 8);
    if (amplitude <= 0) return;
    step >>= 1;
    if (step <= 0) return;
    subPlasma(kScratchLayer, step, 0, amplitude, colour);
    for (std::size_t i = 0; i < bytes; ++i) {
      data[i] = static_cast<std::uint8_t>(std::min(255, data[i] + scratch[i]));
    }
  }
}

void sinePlasma(int layer, float freqX, float freqY, float amplitude) {
  const float k = static_cast<float>(amplitude * 0.00390625L);
  long double wave[kMaxLayerSize];  // the column term, the same in every row
  for (std::int32_t x = 0; x < State().width; ++x) {
    wave[x] = 63.5L * std::sin(static_cast<long double>(freqX) * x);
  }
  for (std::int32_t y = 0; y < State().height; ++y) {
    const float r =
        static_cast<float>(127.0L + 63.5L * std::sin(static_cast<long double>(freqY) * y));
    for (std::int32_t x = 0; x < State().width; ++x) {
      const std::uint8_t v = TruncToByte(k * (r + wave[x]));
      SetPixel(PixelAt(layer, x, y), v, v, v);
    }
  }
}

void particle(int layer, float falloff) {
  const float k = static_cast<float>(180.0L * falloff);
  const std::int32_t hx = State().width / 2;
  const std::int32_t hy = State().height / 2;
  for (std::int32_t y = 0; y < State().height; ++y) {
    const float ny = static_cast<float>((1.0L / hy) * (y - hy));
    for (std::int32_t x = 0; x < State().width; ++x) {
      const float nx = static_cast<float>((1.0L / hx) * (x - hx));
      const float r = FastSqrt(static_cast<float>(static_cast<long double>(ny) * ny +
                                                  static_cast<long double>(nx) * nx));
      const float v = static_cast<float>(255.0L - static_cast<long double>(k) * r);
      const std::uint8_t value = v < 0.0f ? 0 : v > 255.0f ? 255 : TruncToByte(v);
      SetPixel(PixelAt(layer, x, y), value, value, value);
    }
  }
}

void colorLayer(int layer, std::int32_t red, std::int32_t green, std::int32_t blue) {
  std::uint8_t* data = LayerData(layer);
  const std::size_t pixels = LayerBytes() / kChannels;
  for (std::size_t i = 0; i < pixels; ++i) {
    SetPixel(data + i * kChannels, LowByte(red), LowByte(green), LowByte(blue));
  }
}

namespace {

struct ColourRotation {
  std::uint8_t current[3];
  std::uint8_t next[3];
  std::uint8_t after[3];
  void Rotate() {
    std::memcpy(current, next, 3);
    std::swap(next, after);
  }
};

}  // namespace

// Cell sizes below 1 act as 1 (the board divides by them).
void checkerBoardLayer(int layer, std::int32_t cellWidth, std::int32_t cellHeight, std::int32_t r1,
                       std::int32_t g1, std::int32_t b1, std::int32_t r2, std::int32_t g2,
                       std::int32_t b2) {
  cellWidth = std::max(cellWidth, 1);
  cellHeight = std::max(cellHeight, 1);
  ColourRotation c{
      {0, 0, 0}, {LowByte(r1), LowByte(g1), LowByte(b1)}, {LowByte(r2), LowByte(g2), LowByte(b2)}};
  const bool extraTurn = (State().width / cellWidth) % 2 == 0 && State().width % cellWidth != 0;
  for (std::int32_t y = 0; y < State().height; ++y) {
    if (y % cellHeight == 0) c.Rotate();
    for (std::int32_t x = 0; x < State().width; ++x) {
      if (x % cellWidth == 0) c.Rotate();
      std::memcpy(PixelAt(layer, x, y), c.current, 3);
    }
    if (extraTurn) c.Rotate();
  }
}

namespace {

constexpr int kMaxBlobs = 16;

struct Blob {
  std::int64_t x;
  std::int64_t y;
  float strength[3];
};

float BlobStrength() {
  return static_cast<float>(150.0L * (0.1L + 0.00392156862745L * NextRandom()));
}

float BlobFalloff(float d) {
  const long double dd = static_cast<long double>(d) * d;
  return static_cast<float>(1.0L + ((1.888888L * dd + d * (-0.444444L) * dd) - 2.444444L * d));
}

}  // namespace

// At most 16 blobs are drawn; a larger count acts as 16 and a negative one as 0.
void blobsLayer(int layer, std::int32_t seed, std::int32_t count, bool colour) {
  SeedRandom(seed);
  const int blobs = std::clamp(count, 0, kMaxBlobs);
  Blob blob[kMaxBlobs];
  const auto w = static_cast<std::uint32_t>(State().width);
  const auto h = static_cast<std::uint32_t>(State().height);
  for (int i = 0; i < blobs; ++i) {
    blob[i].x = ((NextRandom() * w) >> 8) & static_cast<std::uint32_t>(State().maskX);
    blob[i].y = ((NextRandom() * h) >> 8) & static_cast<std::uint32_t>(State().maskY);
    blob[i].strength[0] = BlobStrength();
    blob[i].strength[1] = colour ? BlobStrength() : 0.0f;
    blob[i].strength[2] = colour ? BlobStrength() : 0.0f;
  }
  const long double inverseR = 1.0L / (0.333333L * State().width * State().height);
  for (std::int64_t y = 0; y < State().height; ++y) {
    for (std::int64_t x = 0; x < State().width; ++x) {
      float sum[3] = {0.0f, 0.0f, 0.0f};
      for (int i = 0; i < blobs; ++i) {
        const std::int64_t dy = blob[i].y - y, dx = blob[i].x - x;
        const float d = static_cast<float>(inverseR * static_cast<long double>(dy * dy + dx * dx));
        const float f = BlobFalloff(d);
        for (int k = 0; k < 3; ++k) {
          sum[k] = static_cast<float>(sum[k] + static_cast<long double>(blob[i].strength[k]) * f);
        }
      }
      std::uint8_t* p = PixelAt(layer, x, y);
      p[0] = ClampToByte(sum[0]);
      p[1] = colour ? ClampToByte(sum[1]) : p[0];
      p[2] = colour ? ClampToByte(sum[2]) : p[0];
    }
  }
}

namespace {

int EscapeCount(float cr, float ci, float bailout) {
  float zr = cr, zi = ci;
  for (int n = 0; n <= 255; ++n) {
    const long double zr2 = static_cast<long double>(zr) * zr;
    const long double zi2 = static_cast<long double>(zi) * zi;
    if (zi2 + zr2 > bailout) return n;
    const float nextZi = static_cast<float>(ci + static_cast<long double>(zi) * 2.0L * zr);
    zr = static_cast<float>(cr + (zr2 - zi2));
    zi = nextZi;
  }
  return 255;
}

}  // namespace

void mandelBrot(int layer, float left, float width, float top, float height, float bailout) {
  const float fW = static_cast<float>(State().width);
  const float fH = static_cast<float>(State().height);
  float ci = top;
  for (std::int32_t y = 0; y < State().height; ++y) {
    float cr = left;
    for (std::int32_t x = 0; x < State().width; ++x) {
      const auto n = static_cast<std::uint8_t>(EscapeCount(cr, ci, bailout));
      SetPixel(PixelAt(layer, x, y), n, static_cast<std::uint8_t>(255 - n),
               static_cast<std::uint8_t>(255 - n));
      cr = static_cast<float>(static_cast<long double>(width) / fW + cr);
    }
    ci = static_cast<float>(static_cast<long double>(height) / fH + ci);
  }
}

void cellMachine(int layer, std::int32_t seed, std::int32_t rule) {
  SeedRandom(seed);
  FillLayer(layer, 0);
  std::uint8_t* data = LayerData(layer);
  for (std::int32_t x = 0; x < State().width; ++x) {
    if ((NextRandom() >> 10) == 0) SetPixel(PixelAt(data, x, 0), 255, 255, 255);
  }
  const auto bits = static_cast<std::uint32_t>(rule);
  for (std::int32_t y = 1; y < State().height; ++y) {
    for (std::int32_t x = 0; x < State().width; ++x) {
      const int pattern = (PixelAt(data, x - 1, y - 1)[0] != 0 ? 1 : 0) +
                          (PixelAt(data, x, y - 1)[0] != 0 ? 2 : 0) +
                          (PixelAt(data, x + 1, y - 1)[0] != 0 ? 4 : 0);
      if ((bits >> pattern) & 1u) SetPixel(PixelAt(data, x, y), 255, 255, 255);
    }
  }
}
