#include "texgen/internal/colour_ops.h"

#include <algorithm>
#include <cmath>

#include "texgen/internal/helpers.h"
#include "texgen/internal/layers.h"
#include "texgen/internal/numeric.h"

namespace {

// Applies `change(pixelIn, pixelOut)` to every pixel of the source into the target.
template <typename Change>
void ChangePixels(int source, int target, Change change) {
  const std::uint8_t* in = LayerData(source);
  std::uint8_t* out = LayerData(target);
  const std::size_t bytes = LayerBytes();
  for (std::size_t i = 0; i < bytes; i += kChannels) change(in + i, out + i);
}

// The same per-channel byte function for the whole layer.
template <typename Map>
void MapChannels(int source, int target, Map map) {
  ChangePixels(source, target, [&](const std::uint8_t* in, std::uint8_t* out) {
    for (int k = 0; k < kChannels; ++k) out[k] = map(k, in[k]);
  });
}

float ClampSaturation(float s) { return s > 1.0f ? 1.0f : s < 0.0f ? 0.0f : s; }
float ClampValue(float v) { return v > 255.0f ? 255.0f : v < 0.0f ? 0.0f : v; }

void WriteHsv(const Hsv& hsv, std::uint8_t* out) {
  const RealRgb rgb = HsvToRgb(hsv.h, ClampSaturation(hsv.s), ClampValue(hsv.v));
  out[0] = TruncToByte(rgb.r);
  out[1] = TruncToByte(rgb.g);
  out[2] = TruncToByte(rgb.b);
}

using Histogram = std::int64_t[3][256];

void CountValues(int source, Histogram& histogram) {
  std::fill(&histogram[0][0], &histogram[0][0] + 3 * 256, 0);
  const std::uint8_t* in = LayerData(source);
  const std::size_t bytes = LayerBytes();
  for (std::size_t i = 0; i < bytes; i += kChannels) {
    for (int k = 0; k < kChannels; ++k) ++histogram[k][in[i + k]];
  }
}

void ApplyTables(int source, int target, const Histogram& lut) {
  MapChannels(source, target, [&](int k, std::uint8_t v) { return LowByte(lut[k][v]); });
}

long double PixelCount() {
  return static_cast<long double>(generatorState.width) * generatorState.height;
}

}  // namespace

void scaleLayerRGB(int source, int target, float s0, float s1, float s2) {
  const float scale[3] = {s0, s1, s2};
  MapChannels(source, target, [&](int k, std::uint8_t v) {
    return ClampToByte(static_cast<float>(static_cast<long double>(scale[k]) * v));
  });
}

void adjustLayerRGB(int source, int target, std::int32_t d0, std::int32_t d1, std::int32_t d2) {
  const std::int64_t shift[3] = {d0, d1, d2};
  MapChannels(source, target, [&](int k, std::uint8_t v) {
    return static_cast<std::uint8_t>(std::clamp<std::int64_t>(v + shift[k], 0, 255));
  });
}

void scaleLayerHSV(int source, int target, float hueScale, float satScale, float valScale) {
  ChangePixels(source, target, [=](const std::uint8_t* in, std::uint8_t* out) {
    const Hsv hsv = RgbToHsv(in);
    WriteHsv(Hsv{static_cast<float>(static_cast<long double>(hsv.h) * hueScale),
                 static_cast<float>(static_cast<long double>(hsv.s) * satScale),
                 static_cast<float>(static_cast<long double>(hsv.v) * valScale)},
             out);
  });
}

void adjustLayerHSV(int source, int target, float hueShift, float satShift, float valShift) {
  ChangePixels(source, target, [=](const std::uint8_t* in, std::uint8_t* out) {
    const Hsv hsv = RgbToHsv(in);
    WriteHsv(Hsv{static_cast<float>(static_cast<long double>(hsv.h) + hueShift),
                 static_cast<float>(static_cast<long double>(hsv.s) + satShift),
                 static_cast<float>(static_cast<long double>(hsv.v) + valShift)},
             out);
  });
}

// The result depends only on the channel and its byte: one table of 256 values per channel.
void sineLayerRGB(int source, int target, float f0, float f1, float f2) {
  const float f[3] = {f0, f1, f2};
  std::uint8_t table[3][256];
  for (int k = 0; k < 3; ++k) {
    const float g = static_cast<float>(static_cast<long double>(kPi) * f[k]);
    for (int v = 0; v < 256; ++v) {
      table[k][v] = TruncToByte(127.5L * (1.0L + std::sin(static_cast<long double>(g) * v)));
    }
  }
  MapChannels(source, target, [&](int k, std::uint8_t v) { return table[k][v]; });
}

void equalizeRGB(int source, int target) {
  Histogram table;
  CountValues(source, table);
  const float f = static_cast<float>(255.0L / PixelCount());
  for (auto& channel : table) {
    float s = 0.0f;
    for (std::int64_t& entry : channel) {
      s = static_cast<float>(s + static_cast<long double>(f) * entry);
      entry = RoundReal(s);
    }
  }
  ApplyTables(source, target, table);
}

void stretchRGB(int source, int target) {
  Histogram table;
  CountValues(source, table);
  for (auto& channel : table) {
    int lo = 255, hi = 0;
    for (int i = 0; i < 256; ++i) {
      if (channel[i] == 0) continue;
      lo = std::min(lo, i);
      hi = std::max(hi, i);
    }
    const long double perPixel = static_cast<long double>(hi - lo) / PixelCount();
    float s = static_cast<float>(lo);
    for (std::int64_t& entry : channel) {
      s = static_cast<float>(s + perPixel * entry);
      entry = RoundReal(s);
    }
  }
  ApplyTables(source, target, table);
}

void invertLayer(int source, int target) {
  MapChannels(source, target,
              [](int, std::uint8_t v) { return static_cast<std::uint8_t>(255 - v); });
}
