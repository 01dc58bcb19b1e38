#include "texgen/internal/layers.h"

#include <cstring>

GeneratorState generatorState;

namespace {

bool IsPowerOfTwo(std::int32_t n) { return n > 0 && (n & (n - 1)) == 0; }

std::string CheckOneSize(const char* name, std::int32_t size) {
  if (size < 2 || size > kMaxLayerSize || !IsPowerOfTwo(size)) {
    return std::string(name) + " " + std::to_string(size) + " is not a power of two from 2 to " +
           std::to_string(kMaxLayerSize);
  }
  return {};
}

}  // namespace

std::string CheckLayerSize(std::int32_t width, std::int32_t height) {
  std::string problem = CheckOneSize("width", width);
  if (problem.empty()) problem = CheckOneSize("height", height);
  return problem;
}

TexgenStatus InitLayers(std::int32_t width, std::int32_t height) {
  if (std::string problem = CheckLayerSize(width, height); !problem.empty()) {
    return TexgenStatus::Fail("layer size refused: " + problem);
  }
  GeneratorState& s = generatorState;
  s.width = width;
  s.height = height;
  s.maskX = width - 1;
  s.maskY = height - 1;
  const std::size_t bytes = LayerBytes();
  for (int i = 0; i < kLayerCount; ++i) {
    s.layers[i].resize(bytes);
    if (i != kScratchLayer) std::memset(s.layers[i].data(), 0, bytes);
  }
  for (OpList& list : s.lists) list.count = 0;
  return TexgenStatus::Ok();
}

void FreeLayers() {
  for (auto& layer : generatorState.layers) {
    layer.clear();
    layer.shrink_to_fit();
  }
}

bool LayersReady() {
  if (generatorState.width < 2 || generatorState.height < 2) return false;
  for (const auto& layer : generatorState.layers) {
    if (layer.size() != LayerBytes()) return false;
  }
  return true;
}

void CopyLayer(int source, int target) {
  if (source == target) return;
  std::memcpy(LayerData(target), LayerData(source), LayerBytes());
}

void FillLayer(int layer, std::uint8_t value) {
  std::memset(LayerData(layer), value, LayerBytes());
}
