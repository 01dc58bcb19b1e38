// Shows the Config dialog modally and applies its outcome: after "Go!" the settings are final;
// "Cancel" and the close box end the program with exit code 0 before any window or log file exists;
// a dialog that cannot be made is the fatal error "Startup Dialog" / "Can`t create startup dialog".
#pragma once

#include "runtime/runtime.h"

void ShowStartupDialog(StartupSettings& settings);
