// Frames per second of each scene, headless at 640 x 480 on the real content, next to the cost of an
// empty frame (begin, capture, present) measured in the same run.
// Usage below.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/version.h"
#include "effects/effects.h"
#include "tests/support/scene_harness.h"

namespace {

constexpr const char* kUsage =
    "usage: scenes_bench [DEMO_FOLDER] [FRAMES]\n"
    "       scenes_bench --help | --version\n"
    "\n"
    "Frames per second of each scene, headless at 640 x 480 on the content in DEMO_FOLDER (default:\n"
    "the build's demo folder), FRAMES frames each (default 200), next to the cost of an empty frame\n"
    "(begin, capture, present) measured in the same run.\n";

struct SceneSpan {
  const char* name;
  int start;  // ms, as the demo's script places it
};

constexpr SceneSpan kScenes[] = {{"Scene01", 0},     {"Scene02", 22900}, {"Scene05", 34450},
                                 {"Scene06", 44075}, {"Scene08", 51775}, {"Scene09", 63325},
                                 {"Scene10", 74875}, {"Scene11", 84531}};

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Frames step 16 ms through the scene, starting after its first second so set-up is done.
double SceneFramesPerSecond(int start, int frames) {
  HarnessFrame(start);
  const Clock::time_point begin = Clock::now();
  for (int k = 0; k < frames; ++k) HarnessFrame(start + 1000 + 16 * k);
  return frames / Seconds(begin);
}

double EmptyFramesPerSecond(int frames) {
  const Clock::time_point begin = Clock::now();
  for (int k = 0; k < frames; ++k) {
    BeginFrame();
    CaptureFrame();
    PresentFrame();
  }
  return frames / Seconds(begin);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (first == "--help") return (std::fputs(kUsage, stdout), 0);
  if (first == "--version") return (PrintVersion("scenes_bench"), 0);
  const std::string folder = argc > 1 ? argv[1] : KELVANE_DEMO_DIR;
  const int frames = argc > 2 ? std::atoi(argv[2]) : 200;
  HarnessStart(folder);
  const double empty = EmptyFramesPerSecond(frames);
  std::printf("%-8s %8s %10s\n", "scene", "fps", "ms/frame");
  std::printf("%-8s %8.1f %10.2f\n", "empty", empty, 1000.0 / empty);
  for (const SceneSpan& scene : kScenes) {
    const double fps = SceneFramesPerSecond(scene.start, frames);
    std::printf("%-8s %8.1f %10.2f\n", scene.name, fps, 1000.0 / fps);
  }
  HarnessStop();
  return 0;
}
