#include "platform/internal/video.h"

#include <SDL.h>

#include <cstdlib>

#include "platform/window.h"

struct VideoWindow {
  SDL_Window* sdl = nullptr;
  bool fullscreen = false;
};

struct VideoContext {
  SDL_GLContext sdl = nullptr;
};

namespace {

bool videoStarted = false;
bool displayModeChanged = false;

int ModeBits(const SDL_DisplayMode& mode) { return int(SDL_BITSPERPIXEL(mode.format)); }

// 32-bit colour on a display means 8 bits per channel, whether it is stored in 24 or 32 bits.
bool DepthMatches(int displayBits, int requestedBits) {
  if (requestedBits == 32) return displayBits == 24 || displayBits == 32;
  return displayBits == requestedBits;
}

void RequestPixelFormat(int bits) {
  const bool trueColour = bits != 16;
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, trueColour ? 8 : 5);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, trueColour ? 8 : 6);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, trueColour ? 8 : 5);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

// Picks the display's own record of `wanted` so that SDL switches to exactly that mode.
bool FindSdlMode(const VideoMode& wanted, SDL_DisplayMode& mode) {
  for (int i = 0, n = SDL_GetNumDisplayModes(0); i < n; ++i) {
    if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
    if (mode.w == wanted.width && mode.h == wanted.height && ModeBits(mode) == wanted.bits) return true;
  }
  return false;
}

// SDL reports success even where the server kept or picked another mode; believe only the mode in
// force once the window is on screen.
bool ModeIsInForce(const VideoMode& wanted) {
  SDL_DisplayMode now{};
  return SDL_GetCurrentDisplayMode(0, &now) == 0 && now.w == wanted.width && now.h == wanted.height;
}

}  // namespace

bool VideoStart() {
  if (videoStarted) return true;
  // Full-screen windows stay full screen when focus moves; the demo is the only thing on screen.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  videoStarted = true;
  // Neither the screen saver nor display power-saving may start while the demo runs.
  SDL_DisableScreenSaver();
  return true;
}

const char* VideoDriverName() {
  const char* name = videoStarted ? SDL_GetCurrentVideoDriver() : nullptr;
  return name ? name : "";
}

bool VideoFindDisplayMode(int width, int height, int bits, VideoMode& found) {
  bool anyOfDepth = false;
  VideoMode sameSizeOtherDepth;
  for (int i = 0, n = SDL_GetNumDisplayModes(0); i < n; ++i) {
    SDL_DisplayMode mode{};
    if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
    const bool depth = DepthMatches(ModeBits(mode), bits);
    anyOfDepth = anyOfDepth || depth;
    if (mode.w != width || mode.h != height) continue;
    if (depth) {
      found = {mode.w, mode.h, ModeBits(mode)};
      return true;
    }
    if (sameSizeOtherDepth.width == 0) sameSizeOtherDepth = {mode.w, mode.h, ModeBits(mode)};
  }
  if (anyOfDepth || sameSizeOtherDepth.width == 0) return false;
  found = sameSizeOtherDepth;
  return true;
}

VideoMode VideoCurrentDisplayMode() {
  SDL_DisplayMode mode{};
  if (SDL_GetCurrentDisplayMode(0, &mode) != 0) return {};
  return {mode.w, mode.h, ModeBits(mode)};
}

VideoWindow* VideoOpenWindow(const char* caption, int width, int height, int bits, bool fullscreen,
                             const VideoMode* mode, bool& modeRefused) {
  RequestPixelFormat(bits);
  SDL_DisplayMode sdlMode{};
  modeRefused = fullscreen && (!mode || !FindSdlMode(*mode, sdlMode));
  if (modeRefused) return nullptr;
  const int x = fullscreen ? 0 : 10;
  const int y = fullscreen ? 0 : 10;
  SDL_Window* sdl = SDL_CreateWindow(caption, x, y, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!sdl) return nullptr;
  if (fullscreen) {
    // The mode goes with the window: SDL switches the display when the window is shown full screen.
    // From here on the display may be switched, even by a switch that then fails.
    displayModeChanged = true;
    modeRefused =
        SDL_SetWindowDisplayMode(sdl, &sdlMode) != 0 || SDL_SetWindowFullscreen(sdl, SDL_WINDOW_FULLSCREEN) != 0;
  }
  if (!modeRefused) SDL_ShowWindow(sdl);
  if (fullscreen && !modeRefused) {
    SDL_PumpEvents();
    modeRefused = !ModeIsInForce(*mode);
  }
  if (modeRefused) {
    SDL_DestroyWindow(sdl);
    return nullptr;
  }
  if (fullscreen) SDL_ShowCursor(SDL_DISABLE);
  return new VideoWindow{sdl, fullscreen};
}

void VideoCloseWindow(VideoWindow* window) {
  if (!window) return;
  SDL_DestroyWindow(window->sdl);
  delete window;
}

void VideoRestoreDisplayMode() {
  if (!videoStarted) return;
  // Shutting the video system down puts every display back to the desktop's mode, whatever
  // windows still exist.
  SDL_ShowCursor(SDL_ENABLE);
  if (displayModeChanged) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    videoStarted = false;
    displayModeChanged = false;
  }
}

bool VideoCursorHidden() { return videoStarted && SDL_ShowCursor(SDL_QUERY) == SDL_DISABLE; }

VideoContext* VideoCreateContext(VideoWindow* window) {
  if (!window) return nullptr;
  SDL_GLContext context = SDL_GL_CreateContext(window->sdl);
  return context ? new VideoContext{context} : nullptr;
}

void VideoMakeCurrent(VideoWindow* window, VideoContext* context) {
  if (!window) return;
  SDL_GL_MakeCurrent(window->sdl, context ? context->sdl : nullptr);
}

void VideoDeleteContext(VideoContext* context) {
  if (!context) return;
  SDL_GL_DeleteContext(context->sdl);
  delete context;
}

void VideoSwapBuffers(VideoWindow* window) {
  if (window) SDL_GL_SwapWindow(window->sdl);
}

VideoContextInfo VideoQueryContext() {
  VideoContextInfo info;
  int value = 0;
  auto get = [&](SDL_GLattr attribute) {
    value = 0;
    SDL_GL_GetAttribute(attribute, &value);
    return value;
  };
  info.red = get(SDL_GL_RED_SIZE);
  info.green = get(SDL_GL_GREEN_SIZE);
  info.blue = get(SDL_GL_BLUE_SIZE);
  info.alpha = get(SDL_GL_ALPHA_SIZE);
  info.depth = get(SDL_GL_DEPTH_SIZE);
  info.stencil = get(SDL_GL_STENCIL_SIZE);
  info.doubleBuffered = get(SDL_GL_DOUBLEBUFFER) != 0;
  info.compatibilityProfile = get(SDL_GL_CONTEXT_PROFILE_MASK) != SDL_GL_CONTEXT_PROFILE_CORE;
  return info;
}

namespace {

InputKey KeyOf(SDL_Keycode key) {
  switch (key) {
    case SDLK_ESCAPE: return InputKey::Escape;
    case SDLK_SPACE: return InputKey::Space;
    case SDLK_LEFT: return InputKey::Left;
    case SDLK_RIGHT: return InputKey::Right;
    case SDLK_PAGEUP: return InputKey::PageUp;
    case SDLK_PAGEDOWN: return InputKey::PageDown;
    case SDLK_HOME: return InputKey::Home;
    case SDLK_END: return InputKey::End;
    case SDLK_i: return InputKey::I;
    case SDLK_o: return InputKey::O;
    case SDLK_l: return InputKey::L;
    case SDLK_h: return InputKey::H;
    case SDLK_r: return InputKey::R;
    default: return InputKey::Other;
  }
}

}  // namespace

InputEvent VideoTakeInput() {
  InputEvent input;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_KEYDOWN:
        input.kind = InputEvent::Kind::Key;
        input.key = KeyOf(event.key.keysym.sym);
        input.shift = (event.key.keysym.mod & KMOD_SHIFT) != 0;
        input.ctrl = (event.key.keysym.mod & KMOD_CTRL) != 0;
        return input;
      case SDL_MOUSEBUTTONDOWN:
        if (event.button.button != SDL_BUTTON_LEFT) continue;
        input.kind = InputEvent::Kind::Click;
        input.x = event.button.x;
        input.y = event.button.y;
        return input;
      case SDL_QUIT: input.kind = InputEvent::Kind::Close; return input;
      case SDL_WINDOWEVENT:
        if (event.window.event != SDL_WINDOWEVENT_CLOSE) continue;
        input.kind = InputEvent::Kind::Close;
        return input;
      default: continue;  // exposure, focus, motion, key releases: nothing a tool acts on
    }
  }
  return input;
}

VideoEvent VideoTakeOneEvent() {
  SDL_Event event;
  if (!SDL_PollEvent(&event)) return VideoEvent::None;
  switch (event.type) {
    case SDL_KEYDOWN:
      return event.key.keysym.sym == SDLK_ESCAPE ? VideoEvent::EscapeKey : VideoEvent::OtherKey;
    case SDL_QUIT: return VideoEvent::CloseRequest;
    case SDL_WINDOWEVENT:
      return event.window.event == SDL_WINDOWEVENT_CLOSE ? VideoEvent::CloseRequest : VideoEvent::Other;
    default: return VideoEvent::Other;
  }
}
