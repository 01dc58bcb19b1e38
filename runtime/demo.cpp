#include "runtime/demo.h"

#include "runtime/frame_loop.h"
#include "runtime/startup.h"
#include "runtime/startup_dialog.h"
#include "runtime/startup_settings.h"

int RunDemo() {
  StartupSettings settings;
  ShowStartupDialog(settings);
  StartDemo(settings);
  RunFrameLoop();
  ShutDownDemo();
  return 0;
}
