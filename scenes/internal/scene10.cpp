#include "scenes/internal/scene10.h"

#include <GL/gl.h>

#include "effects/effects.h"
#include "scenes/internal/cube_grid.h"
#include "scenes/internal/beat_overlay.h"
#include "scenes/internal/scene05.h"
#include "scenes/internal/scene06.h"
#include "scenes/internal/scene_common.h"
#include "sequencing/sequencing.h"

namespace {

void DrawFrontWireframe() {
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  DrawCubeGrid(32, 24, 0, true, 0, 0, 0, 1, 0);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

}  // namespace

void Scene10Init() {
  if (!ClaimSceneMarker(kScene10Marker)) return;
  PrepareCubeWallScene(false);
}

void Scene10Render() {
  const std::int32_t t = musicTime;
  BeginCubeWall();
  ApplySwingingCamera(t);
  glLoadIdentity();
  ClearCubeGrid(0.5f, 0, 0, 1);
  WritePulsingRing(t);
  DrawCubeGrid(32, 24, 0, false, 0, 0, 0, 1, -399);
  DrawFrontWireframe();
  glPopMatrix();
  glPopAttrib();
  glDisable(GL_TEXTURE_2D);
  ZoomBlurUnderBeatOverlay(0.2f);
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
}

void Scene10Done() {}
