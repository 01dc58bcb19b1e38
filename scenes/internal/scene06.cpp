#include "scenes/internal/scene06.h"

#include <GL/gl.h>

#include <cmath>

#include "effects/effects.h"
#include "scenes/internal/cube_grid.h"
#include "scenes/internal/beat_overlay.h"
#include "scenes/internal/scene_common.h"
#include "sequencing/sequencing.h"

RingCell RingPoint(std::int32_t time, std::int32_t k) {
  const double r = std::sin(DegToRad(time / 10.0));
  const double angle = DegToRad(10.0 * k);
  return RingCell{static_cast<std::int32_t>(16 + 8 * std::sin(angle) * r),
                  static_cast<std::int32_t>(12 + 8 * std::cos(angle) * r)};
}

void ApplySwingingCamera(std::int32_t time) {
  const double s = std::sin(time / 600.0);
  const double eyeZ = 200 + 200 * std::sin(time / 1400.0);
  sharedCamera->SetView(static_cast<float>(320 + 250 * s), static_cast<float>(240 + 140 * s), static_cast<float>(eyeZ),
                  320, 240, -399, 0, 1, 0);
  sharedCamera->Apply();
}

void WritePulsingRing(std::int32_t time) {
  for (std::int32_t k = 0; k < kRingPoints; ++k) {
    const RingCell cell = RingPoint(time, k);
    SetCubeColour(cell.x, cell.y, 1, 0.75f, 0, 1);
    SetCubeDepth(cell.x, cell.y, 20);
  }
}

void Scene06Init() {
  if (!ClaimSceneMarker(kScene06Marker)) return;
  PrepareCubeWallScene(true);
}

void Scene06Render() {
  const std::int32_t t = musicTime;
  glPushAttrib(GL_ENABLE_BIT);
  glPushMatrix();
  glLoadIdentity();
  ApplySwingingCamera(t);
  ClearCubeGrid(1, 0, 0, 1);
  WritePulsingRing(t);
  DrawCubeGrid(32, 24, 0, false, 0, 0, 0, 1, 0);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  // Blue is set and at once replaced: the uniform wireframe colour is opaque black.
  glColor4f(0, 0, 1, 1);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  DrawCubeGrid(32, 24, 0, true, 0, 0, 0, 1, 0);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glPopMatrix();
  glPopAttrib();
  glLoadIdentity();
  DrawBeatOverlay();
}

void Scene06Done() {}
