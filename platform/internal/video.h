// The window, its OpenGL context, display modes and input events.
//
// A small interface written from what the demo needs of its platform: one top-level window of a given
// size, optionally full screen at a given resolution and colour depth; a double-buffered RGBA
// compatibility-profile context with a 16-bit depth buffer and no stencil, accumulation or alpha
// bits (colour bits 8/8/8 for 32-bit colour, 5/6/5 for 16-bit); buffer swaps; and one input event at a
// time. Implemented over SDL2 (video.cpp); the window module (window.cpp) and the platform's own tests
// are its only users.
//
// Headless runs use the same code on SDL's offscreen video driver (EGL on Mesa), which needs no X
// server: SDL picks it when SDL_VIDEODRIVER=offscreen, or by itself when no display can be reached.
#pragma once

struct VideoWindow;   // opaque: the platform's window
struct VideoContext;  // opaque: the OpenGL context made for a window

struct VideoMode {
  int width = 0;
  int height = 0;
  int bits = 0;  // bits per pixel as the display reports them
};

// Brings the video system up (idempotent). False if no video driver can be started.
bool VideoStart();
// The driver in use ("x11", "offscreen", ...), or "" before VideoStart.
const char* VideoDriverName();

// The display's own list of modes, searched for width x height at `bits` colour depth. An X server
// cannot change its colour depth, so where the display offers no mode of that depth at all, a mode of
// the desktop's depth with the same resolution stands in (the context still gets the requested
// colour bits). Nothing is changed on the display.
bool VideoFindDisplayMode(int width, int height, int bits, VideoMode& found);
// The mode the display shows now.
VideoMode VideoCurrentDisplayMode();

// Creates and shows the window. Windowed: the client area is width x height at (10, 10) (the window
// manager owns any decorations). Full screen: switches the display to `mode`, covers it, and hides
// the cursor. Returns null on failure. A full-screen window whose mode the display refuses or does
// not keep is closed again, null returned and `modeRefused` set: the display may have been switched
// on the way, and VideoRestoreDisplayMode puts it back.
VideoWindow* VideoOpenWindow(const char* caption, int width, int height, int bits, bool fullscreen,
                             const VideoMode* mode, bool& modeRefused);
void VideoCloseWindow(VideoWindow* window);
// Puts the desktop's display mode back (after a full-screen window) and shows the cursor again.
void VideoRestoreDisplayMode();
bool VideoCursorHidden();

VideoContext* VideoCreateContext(VideoWindow* window);
void VideoMakeCurrent(VideoWindow* window, VideoContext* context);  // context may be null
void VideoDeleteContext(VideoContext* context);
void VideoSwapBuffers(VideoWindow* window);

// What the context really got (the request is a minimum; drivers may give more).
struct VideoContextInfo {
  int red = 0, green = 0, blue = 0, alpha = 0;
  int depth = 0, stencil = 0;
  bool doubleBuffered = false;
  bool compatibilityProfile = false;
};
VideoContextInfo VideoQueryContext();

// One input event, taken from the queue without waiting.
enum class VideoEvent {
  None,          // the queue was empty
  EscapeKey,     // Escape pressed
  OtherKey,      // any other key pressed
  CloseRequest,  // the close box, Alt+F4 through the window manager, or the session ending
  Other,         // anything else (exposure, focus, mouse, ...)
};
VideoEvent VideoTakeOneEvent();
// The same queue read in full detail, for the tools (window.h's TakeInputEvent).
struct InputEvent;
InputEvent VideoTakeInput();
