// The Config dialog's logic: what each control does to the StartupSettings.
//
// The dialog is laid out from a template in dialog units (the font-relative units of the original
// resource: 8-point font, one horizontal unit = 1.5 px, one vertical unit = 1.625 px). A view (FLTK,
// in platform/) builds the controls from `kConfigTemplate` in order and forwards every event here;
// the model holds no toolkit state, so all of its behaviour is testable without a display.
//
// Behaviour: the check boxes start marked as the settings say, and each click flips its setting (the
// box flips its own mark, so mark and setting stay equal). The resolution list starts at position 0
// and is read only when "Go!" is pressed. "Cancel" and the close box end the program; Escape does
// nothing.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "runtime/startup_settings.h"

enum ConfigControlId : int {
  kControlGo = 99,
  kControlCancel = 98,
  kControlResolution = 50,
  kControlFullscreen = 71,
  kControlTrueColor = 72,
  kControlMusic = 73,
  kControlNone = -1,  // static texts and the group box
};

enum class ConfigControlKind { DefaultButton, Button, DropDownList, CheckBox, StaticLeft, GroupBox, StaticCentre };

struct ConfigControl {
  int id;
  ConfigControlKind kind;
  const char* text;
  int x, y, width, height;  // dialog units
};

struct ConfigTemplate {
  const char* caption;
  int x, y, width, height;  // dialog units
  std::array<ConfigControl, 9> controls;  // in tab and creation order
};

inline constexpr ConfigTemplate kConfigTemplate = {
    "Config", 100, 100, 142, 131,
    {{
        {kControlGo, ConfigControlKind::DefaultButton, "Go!", 5, 111, 50, 14},
        {kControlCancel, ConfigControlKind::Button, "Cancel", 85, 111, 50, 14},
        {kControlResolution, ConfigControlKind::DropDownList, "", 55, 20, 80, 61},
        {kControlFullscreen, ConfigControlKind::CheckBox, "Fullscreen", 12, 58, 53, 8},
        {kControlTrueColor, ConfigControlKind::CheckBox, "True Color", 12, 70, 53, 8},
        {kControlMusic, ConfigControlKind::CheckBox, "Music", 12, 82, 53, 8},
        {kControlNone, ConfigControlKind::StaticLeft, "Resolution", 10, 22, 36, 8},
        {kControlNone, ConfigControlKind::GroupBox, "Performance", 4, 44, 130, 54},
        {kControlNone, ConfigControlKind::StaticCentre, "the Quill presents: Kelvane", 7, 5, 120, 8},
    }},
};

// Dialog units to pixels for the template's 8-point font.
inline constexpr double kPixelsPerUnitX = 1.5;
inline constexpr double kPixelsPerUnitY = 1.625;

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

// How the dialog goes on after a message.
enum class DialogOutcome {
  Continue,  // stay open
  Go,        // close and start the demo with the settings
  Quit,      // close and end the program (exit code 0)
};

struct DialogInitialState {
  bool fullscreenMarked;
  bool trueColorMarked;
  bool musicMarked;
  std::span<const Resolution> resolutions;  // list contents, position 0 first
  int selected;                             // list position selected on opening
};

class ConfigDialogModel {
 public:
  explicit ConfigDialogModel(StartupSettings& settings) : settings_(settings) {}

  DialogInitialState OnInitDialog() const;
  // A command from control `id`. `selectedPosition` is the list's selection at that moment, or -1
  // when nothing is selected; only "Go!" reads it.
  DialogOutcome OnCommand(int id, int selectedPosition);
  DialogOutcome OnClose() const { return DialogOutcome::Quit; }
  // Escape sends the dialog's cancel command, which the dialog does not handle.
  DialogOutcome OnEscape() const { return DialogOutcome::Continue; }

  const StartupSettings& settings() const { return settings_; }

 private:
  StartupSettings& settings_;
};
