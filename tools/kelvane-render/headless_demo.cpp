#include "tools/kelvane-render/headless_demo.h"

#include <GL/gl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "runtime/runtime.h"
#include "platform/window.h"

namespace fs = std::filesystem;

namespace {

fs::path scratchFolder;

void RemoveScratchFolder() {
  if (scratchFolder.empty()) return;
  std::error_code ignored;
  fs::current_path(fs::temp_directory_path(ignored), ignored);
  fs::remove_all(scratchFolder, ignored);
  scratchFolder.clear();
}

bool LinkContent(const fs::path& content, std::string& error) {
  std::error_code failure;
  for (const fs::directory_entry& entry : fs::directory_iterator(content, failure)) {
    const fs::path name = entry.path().filename();
    if (name == "debug.txt" || name == "error.txt") continue;
    fs::create_symlink(entry.path(), scratchFolder / name, failure);
    if (failure) break;
  }
  if (failure) error = "cannot prepare the scratch folder " + scratchFolder.string() + ": " + failure.message();
  return !failure;
}

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

bool EnterScratchFolder(const std::string& demoFolder, std::string& error) {
  std::error_code failure;
  const fs::path content = fs::absolute(demoFolder, failure);
  std::string pattern = (fs::temp_directory_path(failure) / "kelvane-render-XXXXXX").string();
  if (failure || !mkdtemp(pattern.data())) {
    error = "cannot make a scratch folder under " + fs::temp_directory_path(failure).string();
    return false;
  }
  scratchFolder = pattern;
  std::atexit(RemoveScratchFolder);
  if (!LinkContent(content, error)) return false;
  fs::current_path(scratchFolder, failure);
  if (failure) error = "cannot enter " + scratchFolder.string() + ": " + failure.message();
  return !failure;
}

void DrawDemoFrame(std::int32_t time, const float* frameSpectrum, Picture* picture) {
  DrawFrameAt(time, frameSpectrum);
  if (picture) ReadBackFrame(*picture);
  FinishFrameAtMusicTime();
}

void StopHeadlessDemo() {
  ShutDownDemo();
  RemoveScratchFolder();
}
