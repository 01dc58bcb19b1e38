// The demo's start-up and shut-down without the dialog, headless, in the current folder: what a
// start-up with damaged content leaves (exit code, standard error, error.txt). Music stays off.
#include <cstdio>
#include <cstdlib>

#include "runtime/startup.h"

int main() {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  StartupSettings settings;
  settings.fullscreen = false;
  settings.music = false;
  StartDemo(settings, StartOptions{.startMusic = false});
  ShutDownDemo();
  std::puts("STARTED AND STOPPED");
  return 0;
}
