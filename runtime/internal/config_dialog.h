// The Config dialog: its template and what each control does to the StartupSettings.
//
// platform/dialog_view.h shows the template and forwards every event here; the model holds no
// toolkit state, so all of its behaviour is testable without a display.
//
// Behaviour: the check boxes start marked as the settings say, and each click flips its setting (the
// box flips its own mark, so mark and setting stay equal). The resolution list starts at position 0
// and is read only when "Go!" is pressed. "Cancel" and the close box end the program; Escape does
// nothing.
#pragma once

#include <array>
#include <cstdint>

#include "platform/dialog_view.h"
#include "runtime/runtime.h"

enum ConfigControlId : int {
  kControlGo = 99,
  kControlCancel = 98,
  kControlResolution = 50,
  kControlFullscreen = 71,
  kControlTrueColor = 72,
  kControlMusic = 73,
};

inline constexpr std::array<DialogControl, 9> kConfigControls = {{
    {kControlGo, DialogControlKind::DefaultButton, "Go!", 5, 111, 50, 14},
    {kControlCancel, DialogControlKind::Button, "Cancel", 85, 111, 50, 14},
    {kControlResolution, DialogControlKind::DropDownList, "", 55, 20, 80, 61},
    {kControlFullscreen, DialogControlKind::CheckBox, "Fullscreen", 12, 58, 53, 8},
    {kControlTrueColor, DialogControlKind::CheckBox, "True Color", 12, 70, 53, 8},
    {kControlMusic, DialogControlKind::CheckBox, "Music", 12, 82, 53, 8},
    {kNoControlId, DialogControlKind::StaticLeft, "Resolution", 10, 22, 36, 8},
    {kNoControlId, DialogControlKind::GroupBox, "Performance", 4, 44, 130, 54},
    {kNoControlId, DialogControlKind::StaticCentre, "the Quill presents: Kelvane", 7, 5, 120, 8},
}};

inline constexpr DialogTemplate kConfigTemplate = {"Config", 100, 100, 142, 131, kConfigControls};

struct Resolution {
  const char* text;
  std::int32_t width;
  std::int32_t height;
};

inline constexpr std::array<Resolution, 3> kResolutions = {{
    {"640 x 480", 640, 480},
    {"800 x 600", 800, 600},
    {"1024 x 768", 1024, 768},
}};

class ConfigDialogModel final : public DialogProcedure {
 public:
  explicit ConfigDialogModel(StartupSettings& settings) : settings_(settings) {}

  DialogInitialState OnInitDialog() const override;
  // Only "Go!" reads `listSelection`; a position outside the list leaves the size as it was.
  DialogOutcome OnCommand(int id, int listSelection) override;
  DialogOutcome OnClose() const override { return DialogOutcome::Quit; }
  // Escape sends the dialog's cancel command, which the dialog does not handle.
  DialogOutcome OnEscape() const override { return DialogOutcome::Continue; }

  const StartupSettings& settings() const { return settings_; }

 private:
  StartupSettings& settings_;
};
