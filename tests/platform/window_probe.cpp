// A window on a real X server for the scripts that drive it with xdotool: "windowed" (640x480, frames
// until Escape or close), "fullscreen W H BITS", or "fullscreen-fatal W H" (a few frames, then a fatal
// error). It prints CREATED, then LOOP-ENDED, then waits (at most 20 s) for a file "continue" before
// WindowClose and CLOSED, so that a script can look at the display between the two.
#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/diagnostics.h"
#include "platform/internal/video.h"
#include "platform/window.h"

namespace {

// The demo does not sleep; the probe does, so that a script can send keys in time.
int RunFrames(int limit) {
  int frames = 0;
  do {
    PumpOneMessage();
    glClearColor(0.2f, 0.4f, 0.6f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SwapWindowBuffers();
    usleep(10000);
  } while (++frames < limit && zenWindow.active);
  return frames;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "windowed";
  const bool fullscreen = mode != "windowed";
  zenCreateWindow("Glimmer", argc > 3 ? std::atoi(argv[2]) : 640, argc > 3 ? std::atoi(argv[3]) : 480,
                  argc > 4 ? std::atoi(argv[4]) : 32, fullscreen);
  const VideoMode now = VideoCurrentDisplayMode();
  const VideoContextInfo info = VideoQueryContext();
  std::printf("CREATED mode=%dx%d cursor-hidden=%d double=%d depth=%d\n", now.width, now.height,
              VideoCursorHidden() ? 1 : 0, info.doubleBuffered ? 1 : 0, info.depth);
  std::fflush(stdout);
  if (mode == "fullscreen-fatal") RunFrames(5), FatalError("zenWinAPI", "Could not initialise zenWindow!");
  const int frames = RunFrames(fullscreen ? 30 : 3000);
  std::printf("LOOP-ENDED frames=%d active=%d\n", frames, zenWindow.active ? 1 : 0);
  std::fflush(stdout);
  for (int i = 0; i < 200 && access("continue", F_OK) != 0; ++i) usleep(100000);
  WindowClose();
  std::printf("CLOSED\n");
  return 0;
}
