#include "runtime/demo.h"

#include "runtime/frame_loop.h"
#include "runtime/startup.h"
#include "runtime/startup_dialog.h"
#include "runtime/startup_settings.h"

int RunDemo() {
  StartupSettings settings;
  ShowStartupDialog(settings);
  return RunConfiguredDemo(settings);
}

int RunConfiguredDemo(const StartupSettings& settings, std::int64_t frameLimit) {
  StartDemo(settings);
  RunFrameLoop(frameLimit);
  ShutDownDemo();
  return 0;
}
