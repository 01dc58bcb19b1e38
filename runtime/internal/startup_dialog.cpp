#include "runtime/internal/startup_dialog.h"

#include <cstdlib>

#include "base/diagnostics.h"
#include "platform/dialog_view.h"
#include "runtime/internal/config_dialog.h"

void ShowStartupDialog(StartupSettings& settings) {
  ConfigDialogModel model(settings);
  switch (RunDialogView(kConfigTemplate, model)) {
    case DialogViewResult::Go: return;
    case DialogViewResult::Quit: std::exit(0);
    case DialogViewResult::CannotCreate: FatalError("Startup Dialog", "Can`t create startup dialog");
  }
}
