// A window on a real X server, for the scripts that drive it with xdotool and check the display.
//   window_probe windowed              open "Glimmer" 640x480, run frames until Escape or close
//   window_probe fullscreen W H BITS   the same in full screen
//   window_probe fullscreen-fatal W H  full screen, a few frames, then a fatal error
//   window_probe fullscreen-switch-fails W H
//                                      full screen at a listed mode that the display then does not
//                                      keep: the display seems to stay at its desktop mode
// It prints CREATED (with the display mode and whether the cursor is hidden), then LOOP-ENDED with the
// frame count, then waits until a file "continue" appears in the working folder (at most 20 s) before
// WindowClose and CLOSED, so that a script can look at the display between the two.
#include <GL/gl.h>
#include <SDL.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/diagnostics.h"
#include "platform/internal/video.h"
#include "platform/window.h"

namespace {

bool switchFails = false;

__attribute__((format(printf, 1, 2))) void Say(const char* format, ...) {
  std::va_list values;
  va_start(values, format);
  std::vprintf(format, values);
  va_end(values);
  std::printf("\n");
  std::fflush(stdout);
}

void WaitForContinue() {
  for (int i = 0; i < 200 && access("continue", F_OK) != 0; ++i) usleep(100000);
}

int RunFrames(int limit) {
  int frames = 0;
  do {
    PumpOneMessage();
    glClearColor(0.2f, 0.4f, 0.6f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SwapWindowBuffers();
    ++frames;
    usleep(10000);  // the demo does not sleep; the probe does, so a script can send keys in time
  } while (zenWindow.active && frames < limit);
  return frames;
}

}  // namespace

// Stands in for SDL's own function in this program (SDL's internal calls keep theirs). With
// switchFails, the display seems to keep its desktop mode whatever a window switched it to, as a
// server does that lists a mode and then will not show it.
extern "C" int SDL_GetCurrentDisplayMode(int display, SDL_DisplayMode* mode) {
  using Function = int (*)(int, SDL_DisplayMode*);
  static const auto sdlOwn = reinterpret_cast<Function>(dlsym(RTLD_NEXT, "SDL_GetCurrentDisplayMode"));
  return switchFails ? SDL_GetDesktopDisplayMode(display, mode) : sdlOwn(display, mode);
}

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "windowed";
  const bool fullscreen = mode != "windowed";
  const int width = argc > 3 ? std::atoi(argv[2]) : 640;
  const int height = argc > 3 ? std::atoi(argv[3]) : 480;
  const int bits = argc > 4 ? std::atoi(argv[4]) : 32;
  switchFails = mode == "fullscreen-switch-fails";
  zenCreateWindow("Glimmer", width, height, bits, fullscreen);
  const VideoMode now = VideoCurrentDisplayMode();
  const VideoContextInfo info = VideoQueryContext();
  Say("CREATED mode=%dx%d cursor-hidden=%d double=%d depth=%d", now.width, now.height, VideoCursorHidden() ? 1 : 0,
      info.doubleBuffered ? 1 : 0, info.depth);
  if (mode == "fullscreen-fatal") {
    RunFrames(5);
    FatalError("zenWinAPI", "Could not initialise zenWindow!");
  }
  const int frames = RunFrames(fullscreen ? 30 : 3000);
  Say("LOOP-ENDED frames=%d active=%d", frames, zenWindow.active ? 1 : 0);
  WaitForContinue();
  WindowClose();
  Say("CLOSED");
  return 0;
}
