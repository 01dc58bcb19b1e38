// The generator's state: six layers of one common size and the five operation lists.
//
// Layers hold 3 bytes per pixel (red, green, blue), rows top first. Layer 5 is the scratch layer
// that operations stage through so that a source may also be the target. Every coordinate is
// wrapped with the AND masks, which is why both sizes must be powers of two.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "texgen/texgen.h"

inline constexpr int kLayerCount = 6;
inline constexpr int kScratchLayer = 5;
inline constexpr int kChannels = 3;
inline constexpr const char* kLayersNotAllocated =
    "the layers are not allocated (InitLayers first)";

struct GeneratorState {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t maskX = 0;
  std::int32_t maskY = 0;
  std::array<std::vector<std::uint8_t>, kLayerCount> layers;
  TexgenProgram lists;
};

extern GeneratorState generatorState;

// Why a size cannot be used (empty when it can): powers of two from 2 to kMaxLayerSize.
std::string CheckLayerSize(std::int32_t width, std::int32_t height);

// Whether InitLayers has allocated all six layers at the current size.
bool LayersReady();
inline bool ValidLayer(std::int32_t index) { return index >= 0 && index < kLayerCount; }

// Raw access for the operations (valid layer indices only).
inline std::uint8_t* LayerData(int layer) { return generatorState.layers[layer].data(); }
inline std::size_t LayerBytes() {
  return static_cast<std::size_t>(generatorState.width) * generatorState.height * kChannels;
}
// The pixel at wrapped coordinates.
inline std::uint8_t* PixelAt(std::uint8_t* layer, std::int64_t x, std::int64_t y) {
  const std::int64_t wx = x & generatorState.maskX;
  const std::int64_t wy = y & generatorState.maskY;
  return layer + (wy * generatorState.width + wx) * kChannels;
}
inline const std::uint8_t* PixelAt(const std::uint8_t* layer, std::int64_t x, std::int64_t y) {
  return PixelAt(const_cast<std::uint8_t*>(layer), x, y);
}
inline std::uint8_t* PixelAt(int layer, std::int64_t x, std::int64_t y) {
  return PixelAt(LayerData(layer), x, y);
}

void CopyLayer(int source, int target);
void FillLayer(int layer, std::uint8_t value);
