#include "runtime/demo.h"

#include "runtime/frame_loop.h"
#include "runtime/startup_dialog.h"
#include "runtime/startup_settings.h"
#include "runtime/window.h"

namespace {

void Shutdown() { WindowClose(); }

}  // namespace

int RunDemo() {
  StartupSettings settings;
  ShowStartupDialog(settings);
  zenCreateWindow("Glimmer", settings.width, settings.height, settings.bits, settings.fullscreen);
  RunFrameLoop();
  Shutdown();
  return 0;
}
