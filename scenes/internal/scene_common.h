// What the eight scenes share besides the drawing toolbox: the set-up guard on the timeline's
// `sceneMarker`, the shared light and materials switched off, the neutral view, and the demo's
// textures by file name.
#pragma once

#include <GL/gl.h>

#include <cstdint>

// The marker of the demo's timeline, which every scene's callbacks use.
std::int32_t& SceneMarker();

// The set-up guard of an init callback: false when `sceneMarker` already holds `marker`; otherwise
// stores it and returns true. The init runs in every frame of a span's first 101 ms; the guard makes
// its set-up happen once.
bool ClaimSceneMarker(std::int32_t marker);

// The orange-yellow background every scene clears to.
void SetSceneClearColour();

// The set-up of the cube-wall scenes: the background colour, no culling, no depth test, blending on
// or off, and every cube of the grid yellow.
void PrepareCubeWallScene(bool blending);

// Depth test off, alpha blending, the flower picture bound, the modelview matrix reset: how the
// flower walls start to draw.
void BeginFlowerDrawing();

// The shared light, then the first and the second material, switched off.
void SwitchOffLightAndMaterials();

// The shared camera looking down -z from the origin, applied: the view the overlays draw under.
void ApplyNeutralView();

// The OpenGL name of the demo texture made from `file`; 0 (no texture) when the demo has none.
GLuint SceneTexture(const char* file);

inline constexpr const char* kFlowerPicture = "data/flower1.hwl";

// How most scenes end a frame: the finished picture captured and zoom-blurred over itself (20
// layers, `blurStep` apart, at half strength, added), then the beat overlay under the neutral view.
void ZoomBlurUnderBeatOverlay(float blurStep);
