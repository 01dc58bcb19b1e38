// kelvane with the Config dialog answered from the command line: the same start-up, frame loop and
// shut-down as the demo, so the files it writes and its exit codes are the demo's own. Without a
// DISPLAY it runs on SDL's offscreen driver. Used by the fault matrix and the leak check of a whole run.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/runtime.h"

namespace {

constexpr const char* kUsage =
    "usage: headless_demo [--fullscreen] [--size WIDTHxHEIGHT] [--bits 16|32] [--music] [--frames N]\n"
    "  Runs the demo in the current folder as if the Config dialog had been answered:\n"
    "  windowed 640x480 at 32 bits with the music silent unless told otherwise, until the music\n"
    "  ends, Escape, or N frames.\n";

[[noreturn]] void Usage(const std::string& problem) {
  if (!problem.empty()) std::fprintf(stderr, "headless_demo: %s\n", problem.c_str());
  std::fputs(kUsage, problem.empty() ? stdout : stderr);
  std::exit(problem.empty() ? 0 : 64);
}

long long Number(const char* text, const char* what) {
  char* end = nullptr;
  const long long value = text ? std::strtoll(text, &end, 10) : 0;
  if (!text || *end != '\0' || value < 0) Usage(std::string("bad ") + what);
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  StartupSettings settings{.fullscreen = false, .music = false};
  long long frames = INT64_MAX;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (option == "--help") Usage("");
    else if (option == "--fullscreen") settings.fullscreen = true;
    else if (option == "--music") settings.music = true;
    else if (option == "--bits") settings.bits = std::int32_t(Number(value, "--bits")), ++i;
    else if (option == "--frames") frames = Number(value, "--frames"), ++i;
    else if (option != "--size") Usage("unknown option " + option);
    else if (!value || std::sscanf(value, "%dx%d", &settings.width, &settings.height) != 2) Usage("bad --size");
    else ++i;
  }
  if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
  StartDemo(settings);
  const std::int64_t drawn = RunFrameLoop(frames);
  ShutDownDemo();
  std::printf("frames drawn: %lld\n", static_cast<long long>(drawn));
  return 0;
}
