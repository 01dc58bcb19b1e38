// A window on a real X server, for the scripts that drive it with xdotool and check the display:
//   window_probe windowed | fullscreen W H BITS | fullscreen-fatal W H | fullscreen-switch-fails W H
// "windowed" opens "Glimmer" 640x480 and runs frames until Escape or close; "fullscreen-fatal" ends in
// a fatal error after a few frames; "fullscreen-switch-fails" switches to a listed mode that the
// display then does not keep. It prints CREATED (display mode, cursor hidden), then LOOP-ENDED, then
// waits (at most 20 s) for a file "continue" before WindowClose and CLOSED, so that a script can look
// at the display between the two.
#include <GL/gl.h>
#include <SDL.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/diagnostics.h"
#include "platform/internal/video.h"
#include "platform/window.h"

namespace {

bool switchFails = false;

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
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // the scripts wait for each line
  const std::string mode = argc > 1 ? argv[1] : "windowed";
  const bool fullscreen = mode != "windowed";
  const int width = argc > 3 ? std::atoi(argv[2]) : 640, height = argc > 3 ? std::atoi(argv[3]) : 480;
  switchFails = mode == "fullscreen-switch-fails";
  zenCreateWindow("Glimmer", width, height, argc > 4 ? std::atoi(argv[4]) : 32, fullscreen);
  const VideoMode now = VideoCurrentDisplayMode();
  const VideoContextInfo info = VideoQueryContext();
  std::printf("CREATED mode=%dx%d cursor-hidden=%d double=%d depth=%d\n", now.width, now.height,
              VideoCursorHidden() ? 1 : 0, info.doubleBuffered ? 1 : 0, info.depth);
  if (mode == "fullscreen-fatal") {
    RunFrames(5);
    FatalError("zenWinAPI", "Could not initialise zenWindow!");
  }
  const int frames = RunFrames(fullscreen ? 30 : 3000);
  std::printf("LOOP-ENDED frames=%d active=%d\n", frames, zenWindow.active ? 1 : 0);
  for (int i = 0; i < 200 && access("continue", F_OK) != 0; ++i) usleep(100000);
  WindowClose();
  std::printf("CLOSED\n");
  return 0;
}
