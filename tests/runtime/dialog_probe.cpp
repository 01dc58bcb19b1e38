// Runs the Config dialog alone and prints the settings it leaves, for the script that clicks it.
#include <cstdio>

#include "runtime/internal/startup_dialog.h"

int main() {
  StartupSettings settings;
  ShowStartupDialog(settings);
  std::printf("width=%d height=%d bits=%d fullscreen=%d music=%d\n", settings.width, settings.height,
              settings.bits, settings.fullscreen ? 1 : 0, settings.music ? 1 : 0);
  return 0;
}
