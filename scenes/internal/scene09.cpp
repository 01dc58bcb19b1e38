#include "scenes/internal/scene09.h"

#include <GL/gl.h>

#include <cmath>

#include "effects/effects.h"
#include "scenes/internal/beat_overlay.h"
#include "scenes/internal/ripple_wall.h"
#include "scenes/internal/scene_common.h"
#include "sequencing/sequencing.h"

namespace {

constexpr double kWallFine = 8000.0;

void ApplyCamera(std::int32_t t) {
  const double eyeX = 4 + 8 * std::sin(t / 4000.0);
  const double eyeZ = 1 + 36 * std::sin((t - 3000) / 2400.0);
  sharedCamera->SetView(static_cast<float>(eyeX), 9.5f, static_cast<float>(eyeZ), 15, 12.5f, 0, 0, 1, 0);
  sharedCamera->Apply();
}

// The picture moves one width every `driftDivisor` milliseconds, the same way in s and t.
void DrawWall(std::int32_t t, double halfSize, double driftDivisor) {
  const double d = t / driftDivisor;
  DrawRippleWall({.phase = t / 80.0, .fine = kWallFine, .halfSize = halfSize, .p = d, .q = d});
}

}  // namespace

double Scene09TileHalfSize(double level) { return 0.2 + level; }

void Scene09Init() {
  if (!ClaimSceneMarker(kScene09Marker)) return;
  ResetCamera();
  SetSceneClearColour();
  SwitchOffLightAndMaterials();
}

void Scene09Render() {
  const std::int32_t t = musicTime;
  const double halfSize = Scene09TileHalfSize(spectrum[kScene09Band]);
  ApplyCamera(t);
  BeginFlowerDrawing();
  glRotatef(static_cast<GLfloat>(15 * std::sin(t / 3500.0)), 0, 0, 1);
  glRotatef(static_cast<GLfloat>(5 * std::sin(t / 3200.0)), 1, 0, 0);
  glColor4f(0.6f, 0, 0, 1);
  DrawWall(t, halfSize, 6000);
  // The rotations accumulate: the three walls stand at right angles to each other.
  glRotatef(90, 1, 0, 0);
  DrawWall(t, halfSize, 8000);
  glRotatef(90, 0, 1, 0);
  DrawWall(t, halfSize, 10000);
  ZoomBlurUnderBeatOverlay(0.1f);
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
}

void Scene09Done() {}
