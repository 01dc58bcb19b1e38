// A modal dialog built from a template, as the demo's original platform made its "Config" dialog:
// the view creates the template's controls in order, shows the dialog, and hands every command, the
// close box and Escape to the dialog's procedure, which alone decides what they mean. The view keeps
// no state of its own beyond the toolkit's widgets. Implemented over FLTK (dialog_view.cpp).
//
// Template coordinates are dialog units, the font-relative units of the original resource (8-point
// font: one horizontal unit = 1.5 px, one vertical unit = 1.625 px).
#pragma once

#include <span>
#include <vector>

inline constexpr double kPixelsPerUnitX = 1.5;
inline constexpr double kPixelsPerUnitY = 1.625;

enum class DialogControlKind { DefaultButton, Button, DropDownList, CheckBox, StaticLeft, GroupBox, StaticCentre };

inline constexpr int kNoControlId = -1;  // static texts and group boxes send no commands

struct DialogControl {
  int id;
  DialogControlKind kind;
  const char* text;
  int x, y, width, height;  // dialog units; a drop-down list's height is that of the open list
};

struct DialogTemplate {
  const char* caption;
  int x, y, width, height;               // dialog units
  std::span<const DialogControl> controls;  // in tab and creation order
};

// How the dialog goes on after a command.
enum class DialogOutcome {
  Continue,  // stay open
  Go,        // close: the procedure's result stands
  Quit,      // close: the program is to end
};

// What the controls show when the dialog opens.
struct DialogInitialState {
  std::vector<int> markedBoxes;         // ids of the check boxes that start marked
  std::vector<const char*> listItems;   // the drop-down list's entries, position 0 first
  int listSelection = 0;
};

class DialogProcedure {
 public:
  virtual ~DialogProcedure() = default;
  virtual DialogInitialState OnInitDialog() const = 0;
  // A command from control `id`. `listSelection` is the drop-down list's position at that moment,
  // or -1 when nothing is selected.
  virtual DialogOutcome OnCommand(int id, int listSelection) = 0;
  virtual DialogOutcome OnClose() const = 0;
  virtual DialogOutcome OnEscape() const = 0;
};

enum class DialogViewResult {
  Go,           // the procedure closed the dialog with Go
  Quit,         // the procedure closed it with Quit
  CannotCreate  // no display, or the toolkit could not make the window
};

// Runs the dialog modally until the procedure closes it. A toolkit failure while the dialog is
// open goes through the fatal error report as "Startup Dialog" / "Can`t create startup dialog".
DialogViewResult RunDialogView(const DialogTemplate& dialog, DialogProcedure& procedure);
