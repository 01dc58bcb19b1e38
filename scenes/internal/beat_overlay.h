// The beat overlay: the foreground layer that seven scenes lay over their picture near the end of
// every frame. On each new beat it picks a silhouette and its tiling at random and moves the text bar
// on by one line; within a beat the sign strip rises and the text bar sinks.
//
// Its state lives for the whole run and only grows with the beat count, so the rhythm carries across
// scene changes. Scene11 reads `lastBeat` to drive its shaking camera.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "scenes/scenes.h"

// Zero at start (BeatOverlayState: scenes/scenes.h).
extern BeatOverlayState beatOverlay;

inline constexpr std::int32_t kLastTextRow = 46;
inline constexpr double kTextLineHeight = 0.0214;  // of the text picture, per line
inline constexpr int kSilhouettePictures = 6;

// When the beat at `time` is past `lastBeat`: new tiling and silhouette (two draws of DemoRandom, in
// that order), the next text line (46 wraps to 0), and `lastBeat` := that beat. Returns whether it
// made a new choice.
bool AdvanceBeatOverlay(std::int32_t time);

// The OpenGL names of the pictures the overlay shows.
struct BeatOverlayTextures {
  GLuint silhouettes[kSilhouettePictures];  // "data/overlay1.hwl" ... "data/overlay6.hwl"
  GLuint sign;                              // "data/signoverlay.hwl"
  GLuint text;                              // "data/text_vmb2.hwl"
};

// The whole layer at `musicTime`, with the scene's projection still current. Leaves blending off,
// depth testing on, texturing off, the blend function (GL_SRC_ALPHA, GL_ONE) and the colour white.
void DrawBeatOverlayWith(const BeatOverlayTextures& textures);
// The same with the demo's own pictures, looked up in its texture table.
void DrawBeatOverlay();
