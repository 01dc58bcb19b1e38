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

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "effects/effects.h"
#include "scenes/scenes.h"
#include "sequencing/sequencing.h"

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

// ---- The installed content ----

// The demo's installed content, <prefix>/share/kelvane/demo, looked for from the running program's
// folder (<prefix>/bin, so that a moved install still finds it), then where the build installs it.
// "" when neither holds a "script.dlx".
std::string InstalledDemoFolder();
// For the demo started in a folder without "script.dlx", when installed content exists: moves into
// it and sends "debug.txt" and "error.txt" to the user's state folder ($XDG_STATE_HOME/kelvane, or
// ~/.local/state/kelvane, created if missing), saying so in one line on standard error. Anywhere
// else it changes nothing. A state folder that cannot be made is the runtime I/O error.
void UseInstalledContentWhenNoScript();

// ---- Start-up and shut-down ----

inline constexpr const char* kWindowCaption = "Glimmer";
inline constexpr std::int32_t kTimelineSize = 99890;
inline constexpr std::int32_t kRenderTextureSize = 1024;

struct StartOptions {
  // The demo plays the music the script names; the frame-exact harness and the offline renderer
  // drive the time themselves and leave the sound layer alone.
  bool startMusic = true;
  // Programs that seek (SeekTo) keep the lasting state start-up leaves; the demo never seeks.
  bool seekable = false;
  const char* caption = kWindowCaption;
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

// ---- The frame clock ----

// Frame k of a clock of `fps` frames a second from `from` shows the music time
// from + trunc(k * 1000 / fps) ms (the largest 32-bit time at most).
std::int32_t FrameClockTime(std::int32_t from, std::int32_t fps, std::int64_t frame);

// ---- Seeking ----
//
// Every animation is a function of the music time, but a frame also leaves state behind for the
// frames after it: the timeline's marker and which spans have been set up, the beat overlay and the
// random generator, the cube grid, the particles, the camera, light and materials, and the OpenGL
// state the scenes set. SeekTo brings all of it to what a run that drew every frame of the clock
// before `time` would leave, without drawing those frames, whatever was shown before (a seek may go
// backwards). The frames it runs get no spectrum: it decides only where vertices go, not how many.

// The OpenGL state a frame can leave for later ones. Left out, because no later frame reads them:
// the pixels of the frame buffer and the render texture (every frame clears before it draws and
// copies before it reads the copy), and the current texture coordinate and normal (every vertex the
// demo sends carries its own texture coordinate, and lighting is never on while a scene draws).
struct GlLastingState {
  std::array<bool, 8> enables{};  // depth test, blend, 2D texture, cull face, lighting, colour material,
                                  // normalize, light 0
  GLint blendSource = 0, blendDestination = 0;
  std::array<GLfloat, 4> clearColour{};
  std::array<GLfloat, 4> colour{};
  GLint boundTexture = 0;
  std::array<GLint, 2> polygonMode{};
  GLint matrixMode = 0;
  std::array<GLint, 2> stackDepths{};  // model-view, projection
  std::array<GLfloat, 16> modelView{};
  std::array<GLfloat, 16> projection{};
  GLint colourMaterialFace = 0, colourMaterialParameter = 0;
  std::array<GLfloat, 4> globalAmbient{};
  std::array<std::array<GLfloat, 4>, 5> light{};    // light 0: ambient, diffuse, specular, position, spot direction
  std::array<GLfloat, 5> lightScalars{};             // cutoff, exponent, three attenuations
  std::array<std::array<GLfloat, 4>, 8> material{};  // front, back: ambient, diffuse, specular, emission
  std::array<GLfloat, 2> shininess{};                // front, back
  bool operator==(const GlLastingState&) const = default;
};

struct LastingState {
  TimelineRunState timelines;
  EffectsLastingState effects;
  ScenesLastingState scenes;
  GlLastingState gl;
  bool operator==(const LastingState&) const = default;
};

LastingState CaptureLastingState();
void RestoreLastingState(const LastingState& state);

// Two ways to run the frames before the target:
//   kQuick  each frame runs with DrawingSkipped(): about 3 us a frame, so any moment is reached in
//           a few milliseconds. The lasting state is exact, but not the GL driver's own history:
//           Mesa cuts immediate-mode batches where its vertex buffer (512 KB on llvmpipe) runs
//           out, where that falls depends on every vertex sent since the context was made, and a
//           different cut can move a few pixels of the next frame by one step.
//   kExact  each frame makes every call a drawn frame makes (SetFramesReplayed), under a render
//           condition that is never met, so the driver takes every vertex but draws nothing: about
//           1 ms a frame. When the process has drawn nothing since start-up, the next frame is the
//           frame a run drawing every frame from 0 draws, byte for byte: the driver's vertex buffer
//           stands where that run leaves it.
enum class SeekMode { kQuick, kExact };

// An exact seek costs its replay once per moment when the caller keeps its notes: at every second
// of the clock from 0 that it replays, it notes how far the driver's immediate-mode buffer is filled
// (-1: not noted). A later exact seek with the same notes runs the quick seek up to the last noted
// second before its target (or 0), fills the buffer as noted, and replays only the rest. Notes hold
// for one driver, demo content, frame rate and picture size; a driver whose fill cannot be measured
// (runtime/internal/immediate_buffer.h) gets none, and every exact seek replays from 0.
using VertexBufferFills = std::vector<std::int64_t>;

// Needs the demo started as seekable (StartDemoOffscreen is).
void SeekTo(std::int32_t time, std::int32_t fps = 60, SeekMode mode = SeekMode::kQuick);
// The state a render on the clock from `from` has before drawing its frame `frame`: a render that
// starts later than 0 first runs the frames of the same clock from 0 before `from`, then its own.
// SeekTo(time, fps, mode) is SeekToFrame(time, fps, 0, mode).
// With `fills`, an exact seek starts from the last note before its target, and with `noteFills` it
// notes each second it replays: only right for a process that has drawn nothing since start-up, as
// the notes must be what a render from 0 leaves.
void SeekToFrame(std::int32_t from, std::int32_t fps, std::int64_t frame, SeekMode mode = SeekMode::kQuick,
                 VertexBufferFills* fills = nullptr, bool noteFills = false);
// Whether the notes reach to within a second before `time` (so an exact seek there is quick).
bool FillsNotedNear(const VertexBufferFills& fills, std::int32_t time, std::int32_t fps);

// ---- Reloading while the demo runs ----
//
// For a player that keeps the demo running while its files change. Each call leaves everything as it
// was when the new file fails, and hands back the failure start-up would have reported for it; after
// a success, seek again to the current time, so that the lasting state is the new content's.

// "script.dlx" read again into a new "Timeline1", its trace in "debug.txt"; the music state becomes
// what the new script says (a music length of 0 stays 0: the caller settles it).
MaybeFailure ReloadScript();
