// Shared by the texture-generator tests: small layers, pixel access, fills, and running operations
// by their text form, so that every test also goes through the dispatch table's argument order.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string_view>

#include "texgen/internal/helpers.h"
#include "texgen/internal/layers.h"
#include "texgen/texgen.h"

using Rgb = std::array<std::uint8_t, 3>;

inline Rgb PixelOf(int layer, int x, int y) {
  const std::uint8_t* p = PixelAt(layer, x, y);
  return Rgb{p[0], p[1], p[2]};
}

// Every pixel differs: channel 0 = x, channel 1 = y, channel 2 = x XOR y (wrapped to the layer).
inline Rgb Distinct(int x, int y) {
  x &= generatorState.maskX, y &= generatorState.maskY;
  return Rgb{std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y)};
}

// Sets every pixel (x, y) of the layer to colour(x, y).
template <typename Colour>
void Paint(int layer, Colour colour) {
  for (int i = 0; i < static_cast<int>(LayerBytes()); ++i)
    LayerData(layer)[i] = colour(i / 3 % generatorState.width, i / 3 / generatorState.width)[i % 3];
}

// Compares every channel of `layer` with expected(x, y, k) and reports the first difference.
template <typename Expected>
void ExpectLayer(int layer, std::string_view what, Expected expected) {
  for (int i = 0; i < static_cast<int>(LayerBytes()); ++i) {
    const int x = i / 3 % generatorState.width, y = i / 3 / generatorState.width, k = i % 3;
    if (LayerData(layer)[i] == expected(x, y, k)) continue;
    ADD_FAILURE() << what << " at (" << x << ", " << y << ") channel " << k << ": " << int{LayerData(layer)[i]}
                  << " instead of " << expected(x, y, k);
    return;
  }
}

// Random bytes from 0 to `top`.
inline void FillNoise(int layer, unsigned seed, int top = 255) {
  std::mt19937 rng(seed);
  std::generate_n(LayerData(layer), LayerBytes(), [&] { return rng() % (top + 1); });
}

inline bool SameLayers(int a, int b) { return std::equal(LayerData(a), LayerData(a) + LayerBytes(), LayerData(b)); }
inline bool LayerIs(int layer, Rgb c) {
  for (std::size_t i = 0; i < LayerBytes(); ++i)
    if (LayerData(layer)[i] != c[i % 3]) return false;
  return true;
}

// Runs calls in the text form ("blurLayer(0,1); invertLayer(1,1)") on the layers, in order.
inline void RunCalls(std::string_view calls) {
  std::string text(calls);
  std::replace(text.begin(), text.end(), ';', '\n');
  TexgenProgram program;
  const TexgenCompileResult compiled = CompileProgramText(text, program);
  ASSERT_TRUE(compiled.ok) << compiled.message << " in " << calls;
  for (int slot = 0; slot < program[0].count; ++slot)
    ASSERT_TRUE(RunOp(program[0].codes[slot], program[0].params[slot]).ok()) << calls;
}

// Tests on W x H layers, with the random state at its start value.
template <int W, int H>
class LayersOf : public ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(InitLayers(W, H).ok());
    randomState = 0;
  }
  void TearDown() override { FreeLayers(); }
};
