// The demo's window and its OpenGL context, module "zenWinAPI".
//
// zenCreateWindow builds the window in three logged steps (WindowRegister, WindowCreate, WindowInit);
// in full screen it first checks that the display offers width x height x bits and switches to it.
// The context is double-buffered RGBA with a 16-bit depth buffer (8/8/8 colour bits at 32 bits,
// 5/6/5 at 16) and stays current on the calling thread until WindowClose.
//
// Every failure ends the program through FatalError, module "zenWinAPI":
//   "Could not register zenWindow!"                        no video driver could be started
//   "Screen resolution is not supported by your gfx card!"  full screen at a mode the display lacks
//                                                           (reported before any window exists), or
//                                                           lists but then refuses to switch to
//   "Could not create zenWindow!"                          no window
//   "Could not initialise zenWindow!"                      no OpenGL context
// The report also releases whatever exists and restores the display mode.
//
// PumpOneMessage turns Escape and the close request into one flag, `active`, which ends the frame
// loop; the window itself stays until WindowClose, which releases the context and the window and
// restores the display mode.
//
// On Linux the window manager owns the decorations, so in windowed mode `width` x `height` is the
// client area the demo draws into rather than the outer size of a captioned window. Everything that
// needs the screen size reads `width` and `height` as given at creation; they are never re-measured.
#pragma once

#include <cstdint>

struct VideoWindow;   // opaque: the platform's window
struct VideoContext;  // opaque: the OpenGL context made for it

struct zenWindowState {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t bits = 0;
  bool fullscreen = false;  // the display mode was changed and must be restored
  bool active = false;      // true from creation until Escape or the close request
  VideoWindow* window = nullptr;
  VideoContext* renderContext = nullptr;
};

extern zenWindowState zenWindow;

inline constexpr const char* kWindowModule = "zenWinAPI";

// Returns true; every failure goes through FatalError and does not return.
bool zenCreateWindow(const char* caption, std::int32_t width, std::int32_t height, std::int32_t bits,
                     bool fullscreen);

// Takes at most one input event from the queue: Escape and the close request clear `active`;
// everything else is ignored.
void PumpOneMessage();
void SwapWindowBuffers();

// Releases the context and the window and restores the display mode.
void WindowClose();

// ---- Input for the tools that drive the demo by hand (kelvane-live) ----
//
// The demo itself reads only Escape and the close request, one event a frame (PumpOneMessage); a tool
// takes every event there is with TakeInputEvent and decides what each means. TakeInputEvent changes
// nothing, `active` included.

enum class InputKey { Other, Escape, Space, Left, Right, PageUp, PageDown, Home, End, I, O, L, H, R };

struct InputEvent {
  enum class Kind { None, Key, Click, Close };
  Kind kind = Kind::None;  // None: the queue was empty
  InputKey key = InputKey::Other;
  bool shift = false;  // for keys: Shift or Ctrl held
  bool ctrl = false;
  int x = 0;  // for clicks of the left button: the window pixel, from the top left
  int y = 0;
};

InputEvent TakeInputEvent();
