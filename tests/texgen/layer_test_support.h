// Shared fixture for the texture-generator tests: small layers and pixel helpers.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "texgen/internal/helpers.h"
#include "texgen/internal/layers.h"

using Rgb = std::array<std::uint8_t, 3>;

inline Rgb PixelOf(int layer, int x, int y) {
  const std::uint8_t* p = PixelAt(layer, x, y);
  return Rgb{p[0], p[1], p[2]};
}

inline void PutPixel(int layer, int x, int y, Rgb c) {
  std::uint8_t* p = PixelAt(layer, x, y);
  p[0] = c[0];
  p[1] = c[1];
  p[2] = c[2];
}

inline void FillRgb(int layer, Rgb c) {
  for (int y = 0; y < generatorState.height; ++y) {
    for (int x = 0; x < generatorState.width; ++x) PutPixel(layer, x, y, c);
  }
}

// A layer in which every pixel differs from every other: channel 0 = x, channel 1 = y,
// channel 2 = x XOR y (for layers up to 256 wide).
inline void FillDistinct(int layer) {
  for (int y = 0; y < generatorState.height; ++y) {
    for (int x = 0; x < generatorState.width; ++x) {
      PutPixel(layer, x, y,
               Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                   static_cast<std::uint8_t>(x ^ y)});
    }
  }
}

inline bool SameLayers(int a, int b) {
  const std::size_t n = LayerBytes();
  for (std::size_t i = 0; i < n; ++i) {
    if (LayerData(a)[i] != LayerData(b)[i]) return false;
  }
  return true;
}

inline bool LayerIsUniform(int layer, Rgb c) {
  for (int y = 0; y < generatorState.height; ++y) {
    for (int x = 0; x < generatorState.width; ++x) {
      if (PixelOf(layer, x, y) != c) return false;
    }
  }
  return true;
}

template <int W, int H>
class LayersOf : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InitLayers(W, H).ok());
    randomState = 0;
  }
  void TearDown() override { FreeLayers(); }
};
