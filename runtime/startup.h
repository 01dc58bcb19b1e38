// Start-up and shut-down of the demo, between the Config dialog and the frame loop.
//
// Start-up, in order: window "Glimmer" → loading screen (0.1) → two particle systems (0.2) → light,
// materials, camera (0.3) → the 21 textures (0.4, 0.5) → the eight scenes → "Timeline1" →
// "script.dlx" → the music, if the script names one (1.0) → render pipeline and effects → spectrum on.
// Shut-down: music → textures → camera, light, materials, particle systems → scenes → timeline →
// window. Every failure on the way is a fatal error report or the runtime I/O error.
#pragma once

#include <cstdint>

#include "runtime/startup_settings.h"

inline constexpr const char* kWindowCaption = "Glimmer";
inline constexpr const char* kScriptFile = "script.dlx";
inline constexpr std::int32_t kTimelineSize = 99890;
inline constexpr std::int32_t kRenderTextureSize = 1024;

struct StartOptions {
  // The live demo plays the music the script names; the frame-exact harness and the offline
  // renderer drive the time themselves and leave the sound layer alone.
  bool startMusic = true;
};

void StartDemo(const StartupSettings& settings, StartOptions options = {});
// The start-up for programs that drive the clock themselves (the offline renderer, the frame-exact
// test harness): SDL's offscreen driver, windowed at width x height, the music neither heard nor
// started.
void StartDemoOffscreen(std::int32_t width, std::int32_t height);
void ShutDownDemo();
