// The Config dialog on screen (FLTK). The view builds the controls of the dialog template in order,
// runs modally, and forwards every click, the close box and Escape to the model, which decides.
#pragma once

#include "runtime/config_dialog.h"

enum class DialogViewResult {
  Go,           // "Go!" (or Enter): the model's settings are final
  Quit,         // "Cancel" or the close box
  CannotCreate  // no display, or the toolkit could not make the window
};

DialogViewResult RunConfigDialogView(ConfigDialogModel& model);
