// runtime: the demo's main body, and the pieces of it that the tools reuse.
//
// Start-up, in order: window "Glimmer" -> loading screen (progress 0.1) -> two particle systems (0.2)
// -> light, materials, camera (0.3) -> the 21 textures (0.4, 0.5) -> the eight scenes -> "Timeline1"
// -> "script.dlx" -> the music, if the script names one (1.0) -> render pipeline and effects ->
// spectrum on. Shut-down: music -> textures -> camera, light, materials, particle systems -> scenes
// -> timeline -> window. Every failure on the way is a fatal error report or the runtime I/O error.
//
// One frame, with no sleep and no frame-rate limit:
//   1. at most one window message            5. the timeline's init and render slots
//   2. BeginFrame                            6. CaptureFrame
//   3. musicTime := the music's position     7. PresentFrame (buffer swap)
//   4. spectrum refreshed                    8. the timeline's done slots
// The loop goes on while the window is active and musicTime <= music length - 100 ms. The test comes
// after the frame, so at least one frame is always drawn.
#pragma once

#include <cstdint>

// ---- The demo ----

// What the viewer chose in the Config dialog; filled with the defaults before it opens.
struct StartupSettings {
  std::int32_t width = 640;
  std::int32_t height = 480;
  std::int32_t bits = 32;  // 32 or 16
  bool fullscreen = true;
  bool music = true;  // play the music audibly
};

// The whole demo: the Config dialog, start-up, the frame loop, shut-down. Returns the exit code of a
// normal end (0); failures end the process and do not return.
int RunDemo();

// ---- Start-up and shut-down ----

inline constexpr const char* kWindowCaption = "Glimmer";
inline constexpr std::int32_t kTimelineSize = 99890;
inline constexpr std::int32_t kRenderTextureSize = 1024;

struct StartOptions {
  // The demo plays the music the script names; the frame-exact harness and the offline renderer
  // drive the time themselves and leave the sound layer alone.
  bool startMusic = true;
};

void StartDemo(const StartupSettings& settings, StartOptions options = {});
// The start-up for programs that drive the clock themselves (the offline renderer, the frame-exact
// test harness): SDL's offscreen driver, windowed at width x height, the music neither heard nor
// started.
void StartDemoOffscreen(std::int32_t width, std::int32_t height);
void ShutDownDemo();

// ---- Frames ----

// The exit test after each frame. Both times are signed 32-bit milliseconds; the subtraction is
// done wide so that no music length can overflow it.
constexpr bool FrameLoopContinues(bool active, std::int32_t musicTime, std::int32_t musicLength) {
  return active && std::int64_t(musicTime) <= std::int64_t(musicLength) - 100;
}

// Steps 5 and 6 for the `musicTime` and `spectrum` already set: the picture is finished, not shown.
void DrawFrameAtMusicTime();
// Steps 2, 5 and 6 with the clock and the spectrum given (512 values; null: all zero) instead of
// read from the music: how the renderer and the test harness draw frame-exactly.
void DrawFrameAt(std::int32_t time, const float* frameSpectrum);
// Steps 7 and 8.
void FinishFrameAtMusicTime();

// Runs frames until the exit test fails, or until `frameLimit` frames are drawn (tools that stop a
// run early, such as a leak check of a fixed number of frames); returns the number of frames drawn.
std::int64_t RunFrameLoop(std::int64_t frameLimit = INT64_MAX);
