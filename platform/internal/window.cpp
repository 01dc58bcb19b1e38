#include "platform/internal/window_steps.h"

#include "base/diagnostics.h"
#include "base/failure_trap.h"

zenWindowState zenWindow;

namespace {

constexpr const char* kUnsupportedResolution = "Screen resolution is not supported by your gfx card!";

// The failure path's release: context, window, then the display mode and the cursor.
void ReleaseAfterFailure() {
  VideoMakeCurrent(zenWindow.window, nullptr);
  VideoDeleteContext(zenWindow.renderContext);
  zenWindow.renderContext = nullptr;
  VideoCloseWindow(zenWindow.window);
  zenWindow.window = nullptr;
  if (zenWindow.fullscreen) VideoRestoreDisplayMode();
}

}  // namespace

bool zenCreateWindow(const char* caption, std::int32_t width, std::int32_t height, std::int32_t bits,
                     bool fullscreen) {
  DebugLog("zenCreateWindow", 0);
  zenWindow.width = width;
  zenWindow.height = height;
  zenWindow.bits = bits;
  zenWindow.fullscreen = fullscreen;
  RegisterEmergencyRelease(ReleaseAfterFailure);
  if (!WindowRegister()) FatalError(kWindowModule, "Could not register zenWindow!");
  zenWindow.window = WindowCreate(caption);
  if (!zenWindow.window) FatalError(kWindowModule, "Could not create zenWindow!");
  if (!WindowInit(zenWindow.window)) FatalError(kWindowModule, "Could not initialise zenWindow!");
  DebugLog("Initialisation done.", 0);
  return true;
}

bool WindowRegister() {
  DebugLog("WindowRegister", 0);
  return VideoStart();
}

VideoWindow* WindowCreate(const char* caption) {
  DebugLog("WindowCreate", 0);
  VideoMode mode;
  if (zenWindow.fullscreen &&
      !VideoFindDisplayMode(zenWindow.width, zenWindow.height, zenWindow.bits, mode)) {
    // Nothing has been changed yet: the display stays as it is.
    zenWindow.fullscreen = false;
    FatalError(kWindowModule, kUnsupportedResolution);
  }
  bool modeRefused = false;
  VideoWindow* window = VideoOpenWindow(caption, zenWindow.width, zenWindow.height, zenWindow.bits,
                                        zenWindow.fullscreen, zenWindow.fullscreen ? &mode : nullptr, modeRefused);
  // A listed mode that the display then refuses is refused all the same; `fullscreen` stays set, so
  // the report's release puts the display mode back.
  if (modeRefused) FatalError(kWindowModule, kUnsupportedResolution);
  if (window) zenWindow.active = true;
  return window;
}

bool WindowInit(VideoWindow* window) {
  DebugLog("WindowInit", 0);
  zenWindow.renderContext = VideoCreateContext(window);
  if (!zenWindow.renderContext) return false;
  VideoMakeCurrent(window, zenWindow.renderContext);
  return true;
}

void WindowProc(VideoEvent event) {
  switch (event) {
    case VideoEvent::EscapeKey:
    case VideoEvent::CloseRequest: zenWindow.active = false; break;
    default: break;
  }
}

void PumpOneMessage() {
  const VideoEvent event = VideoTakeOneEvent();
  if (event != VideoEvent::None) WindowProc(event);
}

void SwapWindowBuffers() { VideoSwapBuffers(zenWindow.window); }

void WindowClose() {
  VideoMakeCurrent(zenWindow.window, nullptr);
  VideoDeleteContext(zenWindow.renderContext);
  zenWindow.renderContext = nullptr;
  VideoCloseWindow(zenWindow.window);
  zenWindow.window = nullptr;
  zenWindow.active = false;
  if (zenWindow.fullscreen) VideoRestoreDisplayMode();
  RegisterEmergencyRelease(nullptr);
}

InputEvent TakeInputEvent() { return VideoTakeInput(); }
