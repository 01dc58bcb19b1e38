#include "runtime/startup_dialog.h"

#include <cstdlib>

#include "platform/dialog_view.h"
#include "runtime/config_dialog.h"
#include "runtime/fatal_error.h"

void ShowStartupDialog(StartupSettings& settings) {
  ConfigDialogModel model(settings);
  switch (RunConfigDialogView(model)) {
    case DialogViewResult::Go: return;
    case DialogViewResult::Quit: std::exit(0);
    case DialogViewResult::CannotCreate: FatalError("Startup Dialog", "Can`t create startup dialog");
  }
}
