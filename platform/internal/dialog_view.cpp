#include "platform/dialog_view.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xlib.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <vector>

#include "base/diagnostics.h"

namespace {

// The template's 8-point font at 96 dpi.
constexpr int kFontPixels = 11;
// A closed drop-down list shows one line; the template's height is that of the open list.
constexpr int kClosedListUnits = 12;

int Px(int units) { return int(std::lround(units * kPixelsPerUnitX)); }
int Py(int units) { return int(std::lround(units * kPixelsPerUnitY)); }

struct DialogRun;

// What a control's callback needs: the run it belongs to and its id in the template.
struct Binding {
  DialogRun* run;
  int id;
};

struct DialogRun {
  DialogProcedure* procedure = nullptr;
  std::vector<Binding> bindings;  // reserved up front: controls keep pointers into it
  Fl_Window* window = nullptr;
  Fl_Choice* list = nullptr;
  DialogOutcome outcome = DialogOutcome::Continue;
};

void Settle(DialogRun& run, DialogOutcome outcome) {
  if (outcome == DialogOutcome::Continue) return;
  run.outcome = outcome;
  run.window->hide();
}

void OnControl(Fl_Widget*, void* data) {
  const Binding& binding = *static_cast<Binding*>(data);
  DialogRun& run = *binding.run;
  const int selected = run.list ? run.list->value() : -1;
  Settle(run, run.procedure->OnCommand(binding.id, selected));
}

void OnWindow(Fl_Widget*, void* data) {
  auto& run = *static_cast<DialogRun*>(data);
  // FLTK calls the window's callback for Escape too; the dialog ignores Escape.
  const bool escape = Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape;
  Settle(run, escape ? run.procedure->OnEscape() : run.procedure->OnClose());
}

// FLTK would print and exit on its own; the dialog reports through the program's fatal error instead.
// What FLTK had to say goes to standard error first, so that the cause is not lost.
void ToolkitFatal(const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  std::fputs("FLTK: ", stderr);
  std::vfprintf(stderr, format, arguments);
  std::fputs("\n", stderr);
  va_end(arguments);
  FatalError("Startup Dialog", "Can`t create startup dialog");
}

// Opens the display here and hands the connection to FLTK, which would otherwise report a missing
// display by exiting the process on its own.
bool OpenDisplay() {
  if (fl_display) return true;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  fl_open_display(display);
  return true;
}

bool Marked(const DialogInitialState& init, int id) {
  return std::find(init.markedBoxes.begin(), init.markedBoxes.end(), id) != init.markedBoxes.end();
}

Fl_Widget* MakeControl(const DialogControl& c, const DialogInitialState& init, DialogRun& run) {
  const int x = Px(c.x), y = Py(c.y), w = Px(c.width), h = Py(c.height);
  Fl_Widget* widget = nullptr;
  switch (c.kind) {
    case DialogControlKind::DefaultButton: widget = new Fl_Return_Button(x, y, w, h, c.text); break;
    case DialogControlKind::Button: widget = new Fl_Button(x, y, w, h, c.text); break;
    case DialogControlKind::DropDownList: {
      auto* list = new Fl_Choice(x, y, w, Py(kClosedListUnits));
      for (const char* item : init.listItems) list->add(item);
      list->value(init.listSelection);
      list->textsize(kFontPixels);
      run.list = list;
      return list;  // the selection is read with the next command
    }
    case DialogControlKind::CheckBox: {
      auto* box = new Fl_Check_Button(x, y, w, h, c.text);
      box->value(Marked(init, c.id) ? 1 : 0);
      widget = box;
      break;
    }
    case DialogControlKind::StaticLeft:
      widget = new Fl_Box(x, y, w, h, c.text);
      widget->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
      break;
    case DialogControlKind::StaticCentre:
      widget = new Fl_Box(x, y, w, h, c.text);
      widget->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE);
      break;
    case DialogControlKind::GroupBox:
      // The frame starts half a text line down, the caption sits on its top edge.
      widget = new Fl_Box(FL_ENGRAVED_FRAME, x, y + kFontPixels / 2, w, h - kFontPixels / 2, c.text);
      widget->align(FL_ALIGN_TOP_LEFT);
      break;
  }
  widget->labelsize(kFontPixels);
  if (c.id != kNoControlId) {
    run.bindings.push_back({&run, c.id});
    widget->callback(OnControl, &run.bindings.back());
  }
  return widget;
}

}  // namespace

DialogViewResult RunDialogView(const DialogTemplate& t, DialogProcedure& procedure) {
  Fl::fatal = ToolkitFatal;
  if (!OpenDisplay()) return DialogViewResult::CannotCreate;

  const DialogInitialState init = procedure.OnInitDialog();
  DialogRun run;
  run.procedure = &procedure;
  run.bindings.reserve(t.controls.size());
  auto window = std::make_unique<Fl_Window>(Px(t.x), Py(t.y), Px(t.width), Py(t.height), t.caption);
  run.window = window.get();
  for (const DialogControl& control : t.controls) MakeControl(control, init, run);
  window->end();
  window->set_modal();
  window->callback(OnWindow, &run);
  window->show();
  if (!window->shown()) return DialogViewResult::CannotCreate;
  while (window->shown()) Fl::wait();
  window.reset();
  Fl::flush();
  return run.outcome == DialogOutcome::Go ? DialogViewResult::Go : DialogViewResult::Quit;
}
