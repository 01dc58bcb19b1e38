#include "runtime/runtime.h"

#include "runtime/internal/startup_dialog.h"

int RunDemo() {
  StartupSettings settings;
  ShowStartupDialog(settings);
  StartDemo(settings);
  RunFrameLoop();
  ShutDownDemo();
  return 0;
}
