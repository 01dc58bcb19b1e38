#include "tests/support/scene_harness.h"

#include <GL/gl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "runtime/runtime.h"
#include "platform/window.h"

namespace fs = std::filesystem;

namespace {

fs::path harnessFolder;
fs::path previousFolder;

// The demo runs in a scratch folder that links to the content, so its debug.txt never lands in the
// demo folder itself.
void EnterScratchFolder(const std::string& demoFolder) {
  const fs::path content = fs::absolute(demoFolder);
  if (!fs::exists(content / "script.dlx") || !fs::is_directory(content / "data"))
    throw std::runtime_error("no demo content in " + content.string() + " (build the demo-content target)");
  std::string pattern = (fs::temp_directory_path() / "kelvane-harness-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  harnessFolder = pattern;
  for (const fs::directory_entry& entry : fs::directory_iterator(content)) {
    const fs::path name = entry.path().filename();
    if (name != "debug.txt" && name != "error.txt") fs::create_symlink(entry.path(), harnessFolder / name);
  }
  previousFolder = fs::current_path();
  fs::current_path(harnessFolder);
}

}  // namespace

void HarnessStart(const std::string& demoFolder, int width, int height) {
  EnterScratchFolder(demoFolder);
  StartDemoOffscreen(width, height);
}

HarnessPicture HarnessFrame(std::int32_t time, const float* frameSpectrum) {
  DrawFrameAt(time, frameSpectrum);

  HarnessPicture picture;
  picture.width = zenWindow.width;
  picture.height = zenWindow.height;
  picture.rgba.resize(std::size_t(picture.width) * picture.height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, picture.width, picture.height, GL_RGBA, GL_UNSIGNED_BYTE, picture.rgba.data());

  FinishFrameAtMusicTime();
  return picture;
}

void HarnessStop() {
  ShutDownDemo();
  std::error_code ignored;
  fs::current_path(previousFolder, ignored);
  fs::remove_all(harnessFolder, ignored);
}
