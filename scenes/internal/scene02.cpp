#include "scenes/internal/scene02.h"

#include <GL/gl.h>

#include <cmath>

#include "effects/effects.h"
#include "scenes/internal/beat_overlay.h"
#include "scenes/internal/ripple_wall.h"
#include "scenes/internal/scene_common.h"
#include "sequencing/sequencing.h"

namespace {

constexpr double kMosaicFine = 8000.0;

void ApplySwayingCamera(std::int32_t t) {
  const double eyeX = 32 + 32 * std::sin(t / 4000.0);
  const double eyeZ = 1 + 24 * std::sin((t - 3000) / 2400.0);
  sharedCamera->SetView(static_cast<float>(eyeX), 9.5f, static_cast<float>(eyeZ), 32, 24, 0, 0, -1, 0);
  sharedCamera->Apply();
}

}  // namespace

void Scene02Init() {
  if (!ClaimSceneMarker(kScene02Marker)) return;
  SetSceneClearColour();
  SwitchOffLightAndMaterials();
}

void Scene02Render() {
  const std::int32_t t = musicTime;
  ApplySwayingCamera(t);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glLoadIdentity();
  glEnable(GL_TEXTURE_2D);
  glColor4f(0.5f, 0, 0, 1);
  glBindTexture(GL_TEXTURE_2D, SceneTexture(kFlowerPicture));
  // Tiles 0.4 wide on a 0.6 raster, each showing its own 1/80 x 1/80 piece of the picture.
  DrawRippleWall({.phase = t / 80.0, .fine = kMosaicFine, .halfSize = 0.2});
  ZoomBlurUnderBeatOverlay(0.2f);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
}

void Scene02Done() {}
