#include "runtime/config_dialog.h"

DialogInitialState ConfigDialogModel::OnInitDialog() const {
  return {settings_.fullscreen, settings_.bits == 32, settings_.music, kResolutions, 0};
}

DialogOutcome ConfigDialogModel::OnCommand(int id, int selectedPosition) {
  switch (id) {
    case kControlFullscreen: settings_.fullscreen = !settings_.fullscreen; return DialogOutcome::Continue;
    case kControlTrueColor: settings_.bits = settings_.bits == 32 ? 16 : 32; return DialogOutcome::Continue;
    case kControlMusic: settings_.music = !settings_.music; return DialogOutcome::Continue;
    case kControlCancel: return DialogOutcome::Quit;
    case kControlGo:
      if (selectedPosition >= 0 && selectedPosition < int(kResolutions.size())) {
        settings_.width = kResolutions[selectedPosition].width;
        settings_.height = kResolutions[selectedPosition].height;
      }
      return DialogOutcome::Go;
    default: return DialogOutcome::Continue;
  }
}
