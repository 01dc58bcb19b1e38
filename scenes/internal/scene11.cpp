#include "scenes/internal/scene11.h"

#include <GL/gl.h>

#include <cmath>

#include "effects/effects.h"
#include "scenes/internal/beat_overlay.h"
#include "scenes/internal/cube_grid.h"
#include "scenes/internal/gl_vertex.h"
#include "scenes/internal/scene05.h"
#include "scenes/internal/scene_common.h"
#include "sequencing/sequencing.h"

namespace {

// With n in the hundreds the angles change by many radians per millisecond, so the eye lands at an
// unrelated point of its range in every frame. Before the first beat it rests behind the wall.
void ApplyShakingCamera(std::int32_t t, std::int32_t n) {
  const double nt = static_cast<double>(n) * t;
  const double side = std::sin(nt / 10);
  const double eyeZ = 700 * std::sin(nt / 16) - 500;
  sharedCamera->SetView(static_cast<float>(320 + 250 * side), static_cast<float>(240 + 140 * side),
                  static_cast<float>(eyeZ), 320, 240, -399, 0, 1, 0);
  sharedCamera->Apply();
}

void DrawCreditsSquare(const CreditsPlacement& placement, float alpha) {
  glLoadIdentity();
  glRotatef(static_cast<GLfloat>(placement.angle), 0, 0, 1);
  glTranslatef(0, 0, static_cast<GLfloat>(placement.depth));
  glColor4f(1, 1, 1, alpha);
  if (DrawingSkipped()) return;
  glBegin(GL_QUADS);
  EmitNormal(0, 0, 1);
  EmitVertex(0, 0, -1, 1, 0);
  EmitVertex(1, 0, 1, 1, 0);
  EmitVertex(1, 1, 1, -1, 0);
  EmitVertex(0, 1, -1, -1, 0);
  glEnd();
}

void DrawCredits(std::int32_t t) {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, SceneTexture("data/credits.hwl"));
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  DrawCreditsSquare(CreditsPlacementAt(t, 0), 1.0f);
  // The ghosts add onto the square: the blend function is still the overlay's (GL_SRC_ALPHA, GL_ONE).
  glEnable(GL_BLEND);
  for (int g = 1; g <= kCreditGhosts; ++g) DrawCreditsSquare(CreditsPlacementAt(t, g), 0.1f);
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
}

}  // namespace

CreditsPlacement CreditsPlacementAt(std::int32_t time, int ghost) {
  const std::int32_t c = time - kCreditsStart;
  return CreditsPlacement{-7 + c / 1000.0 - ghost / 2.0, -4 + (c - ghost) / 7000.0};
}

void Scene11Init() {
  if (!ClaimSceneMarker(kScene11Marker)) return;
  SetSceneClearColour();
  glDisable(GL_CULL_FACE);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  ClearCubeGrid(1, 1, 0, 1);
}

void Scene11Render() {
  const std::int32_t t = musicTime;
  BeginCubeWall();
  ApplyShakingCamera(t, beatOverlay.lastBeat);
  DrawWaveWallAndOverlay(t);
  DrawCredits(t);
}

void Scene11Done() {}
