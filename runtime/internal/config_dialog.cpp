#include "runtime/internal/config_dialog.h"

DialogInitialState ConfigDialogModel::OnInitDialog() const {
  DialogInitialState state;
  if (settings_.fullscreen) state.markedBoxes.push_back(kControlFullscreen);
  if (settings_.bits == 32) state.markedBoxes.push_back(kControlTrueColor);
  if (settings_.music) state.markedBoxes.push_back(kControlMusic);
  for (const Resolution& resolution : kResolutions) state.listItems.push_back(resolution.text);
  state.listSelection = 0;
  return state;
}

DialogOutcome ConfigDialogModel::OnCommand(int id, int listSelection) {
  switch (id) {
    case kControlFullscreen: settings_.fullscreen = !settings_.fullscreen; return DialogOutcome::Continue;
    case kControlTrueColor: settings_.bits = settings_.bits == 32 ? 16 : 32; return DialogOutcome::Continue;
    case kControlMusic: settings_.music = !settings_.music; return DialogOutcome::Continue;
    case kControlCancel: return DialogOutcome::Quit;
    case kControlGo:
      if (listSelection >= 0 && listSelection < int(kResolutions.size())) {
        settings_.width = kResolutions[listSelection].width;
        settings_.height = kResolutions[listSelection].height;
      }
      return DialogOutcome::Go;
    default: return DialogOutcome::Continue;
  }
}
