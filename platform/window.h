// The demo's window and its OpenGL context, module "zenWinAPI".
//
// zenCreateWindow builds the window in three logged steps (WindowRegister, WindowCreate, WindowInit);
// in full screen it first checks that the display offers width x height x bits and switches to it.
// Every failure ends the program through FatalError with the module's own messages. WindowProc turns
// Escape and the close request into one flag, `active`, which ends the frame loop; the window itself
// stays until WindowClose, which releases the context and the window and restores the display mode.
//
// On Linux the window manager owns the decorations, so in windowed mode `width` x `height` is the
// client area the demo draws into rather than the outer size of a captioned window. Everything that
// needs the screen size reads `width` and `height` as given at creation; they are never re-measured.
#pragma once

#include <cstdint>

#include "platform/video.h"

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

bool WindowRegister();
VideoWindow* WindowCreate(const char* caption);
bool WindowInit(VideoWindow* window);

// Acts on one input event: Escape and the close request clear `active`; everything else is ignored.
void WindowProc(VideoEvent event);
// Takes at most one event from the queue and hands it to WindowProc.
void PumpOneMessage();
void SwapWindowBuffers();

void WindowClose();
