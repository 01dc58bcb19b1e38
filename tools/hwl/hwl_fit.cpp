#include "tools/hwl/hwl_fit.h"

#include <algorithm>

namespace {

// The deepest transform the encoder picks by itself (HwlEncodeOptions::lastLevel).
constexpr int kDeepestDefaultLevel = 5;

int FittedSide(int side, FitMode mode, int block) {
  const int below = side / block * block;
  if (below == side || mode == FitMode::Crop) return below;
  return below + block;
}

}  // namespace

std::optional<FitMode> ParseFitMode(const std::string& text) {
  if (text == "pad") return FitMode::Pad;
  if (text == "crop") return FitMode::Crop;
  return std::nullopt;
}

int FitLevel(int width, int height, std::optional<int> levels) {
  if (levels) return *levels;
  const int side = std::min(width, height);
  for (int level = kDeepestDefaultLevel; level >= 0; --level) {
    if ((2 << level) <= side) return level;
  }
  return -1;
}

Picture FitPicture(const Picture& picture, FitMode mode, int block) {
  Picture fitted;
  fitted.width = FittedSide(picture.width, mode, block);
  fitted.height = FittedSide(picture.height, mode, block);
  fitted.channels = picture.channels;
  fitted.pixels.resize(std::size_t(fitted.width) * fitted.height * fitted.channels);
  const std::size_t pixelBytes = std::size_t(picture.channels);
  for (int y = 0; y < fitted.height; ++y) {
    const int sourceY = std::min(y, picture.height - 1);
    for (int x = 0; x < fitted.width; ++x) {
      const int sourceX = std::min(x, picture.width - 1);
      const auto source = picture.pixels.begin() + std::ptrdiff_t((std::size_t(sourceY) * picture.width + sourceX) * pixelBytes);
      std::copy_n(source, pixelBytes, fitted.pixels.begin() + std::ptrdiff_t((std::size_t(y) * fitted.width + x) * pixelBytes));
    }
  }
  return fitted;
}
