#include "scenes/internal/scene05.h"

#include <GL/gl.h>

#include <cmath>

#include "effects/effects.h"
#include "scenes/internal/cube_grid.h"
#include "scenes/internal/beat_overlay.h"
#include "scenes/internal/scene_common.h"
#include "sequencing/sequencing.h"

namespace {

constexpr std::int32_t kWallColumns = 32;
constexpr std::int32_t kWallRows = 24;
constexpr float kWallDepth = -399.0f;

void WriteSineWave(std::int32_t t) {
  for (std::int32_t k = 0; k <= kWallColumns; ++k) {
    const std::int32_t w = WaveRowOffset(t, k);
    SetCubeColour(k, 12 + w, 1, 0.75f, 0, 1);
    SetCubeColour(k, 13 + w, 1, 0.75f, 0, 1);
    SetCubeDepth(k, 12 + w, 20);
  }
}

void ApplyFlyingCamera(std::int32_t t) {
  const double s = std::sin(t / 600.0);
  const double eyeZ = 700 * std::sin(t / 1400.0) - 500;
  sharedCamera->SetView(static_cast<float>(320 + 250 * s), static_cast<float>(240 + 140 * s), static_cast<float>(eyeZ),
                  320, 240, -399, 0, 1, 0);
  sharedCamera->Apply();
}

}  // namespace

std::int32_t WaveRowOffset(std::int32_t time, std::int32_t column) {
  return static_cast<std::int32_t>(5 * std::sin(time / 100.0 + DegToRad(6.0 * column)));
}

void BeginCubeWall() {
  BeginFlowerDrawing();
  glPushAttrib(GL_ENABLE_BIT);
  glPushMatrix();
}

void DrawWaveWallAndOverlay(std::int32_t time) {
  glLoadIdentity();
  ClearCubeGrid(0.5f, 0, 0, 1);
  WriteSineWave(time);
  DrawCubeGrid(kWallColumns, kWallRows, 0, false, 0, 0, 0, 1, kWallDepth);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  DrawCubeGrid(kWallColumns, kWallRows, 0, true, 0, 0, 0, 0.3f, kWallDepth);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glPopMatrix();
  glPopAttrib();
  glDisable(GL_TEXTURE_2D);
  ZoomBlurUnderBeatOverlay(0.2f);
}

void Scene05Init() {
  if (!ClaimSceneMarker(kScene05Marker)) return;
  PrepareCubeWallScene(false);
}

void Scene05Render() {
  const std::int32_t t = musicTime;
  BeginCubeWall();
  ApplyFlyingCamera(t);
  DrawWaveWallAndOverlay(t);
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
}

void Scene05Done() {}
