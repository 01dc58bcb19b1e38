#include "tools/kelvane-render/headless_demo.h"

#include <GL/gl.h>

#include <algorithm>

#include "platform/window.h"
#include "runtime/runtime.h"
#include "tools/common/scratch_folder.h"

namespace {

// Rows bottom first from GL, top first in the picture.
void ReadBackFrame(Picture& picture) {
  picture.width = zenWindow.width;
  picture.height = zenWindow.height;
  picture.channels = 3;
  const std::size_t row = std::size_t(picture.width) * 3;
  std::vector<std::uint8_t> bottomFirst(row * std::size_t(picture.height));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, picture.width, picture.height, GL_RGB, GL_UNSIGNED_BYTE, bottomFirst.data());
  picture.pixels.resize(bottomFirst.size());
  for (std::int32_t y = 0; y < picture.height; ++y) {
    const auto source = bottomFirst.begin() + std::ptrdiff_t(row * std::size_t(picture.height - 1 - y));
    std::copy(source, source + std::ptrdiff_t(row), picture.pixels.begin() + std::ptrdiff_t(row * std::size_t(y)));
  }
}

}  // namespace

void DrawDemoFrame(std::int32_t time, const float* frameSpectrum, Picture* picture) {
  DrawFrameAt(time, frameSpectrum);
  if (picture) ReadBackFrame(*picture);
  FinishFrameAtMusicTime();
}

void StopHeadlessDemo() {
  ShutDownDemo();
  RemoveScratchFolder();
}
