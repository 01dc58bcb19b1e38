#include "scenes/internal/scene_common.h"

#include "effects/effects.h"
#include "images/texture.h"
#include "scenes/internal/beat_overlay.h"
#include "scenes/internal/cube_grid.h"
#include "sequencing/sequencing.h"

std::int32_t& SceneMarker() {
  // Scenes run from a timeline, so slot 1 exists whenever they do; a scene called without one (a
  // test, a tool) keeps its marker in the spare.
  static std::int32_t spareMarker = 0;
  Timeline* timeline = timelineTable.Get(kDemoTimelineSlot);
  return timeline ? timeline->sceneMarker : spareMarker;
}

bool ClaimSceneMarker(std::int32_t marker) {
  std::int32_t& current = SceneMarker();
  if (current == marker) return false;
  current = marker;
  return true;
}

void SetSceneClearColour() { glClearColor(1.0f, 0.75f, 0.0f, 1.0f); }

void PrepareCubeWallScene(bool blending) {
  SetSceneClearColour();
  glDisable(GL_CULL_FACE);
  glDisable(GL_DEPTH_TEST);
  if (blending) glEnable(GL_BLEND);
  else glDisable(GL_BLEND);
  ClearCubeGrid(1, 1, 0, 1);
}

void BeginFlowerDrawing() {
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, SceneTexture(kFlowerPicture));
  glLoadIdentity();
}

void SwitchOffLightAndMaterials() {
  sharedLight->Switch(false);
  sharedMaterial1->Switch(false);
  sharedMaterial2->Switch(false);
}

void ApplyNeutralView() {
  sharedCamera->SetView(0, 0, 0, 0, 0, -1, 0, 1, 0);
  sharedCamera->Apply();
}

GLuint SceneTexture(const char* file) {
  // Without the texture (a picture missing from the table) the scene draws with no texture bound.
  const zenTexture* texture = DemoTexture(file);
  return texture ? texture->glName : 0;
}

void ZoomBlurUnderBeatOverlay(float blurStep) {
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  CaptureFrame();
  ZoomBlur(20, blurStep, 0.5f);
  ApplyNeutralView();
  glLoadIdentity();
  DrawBeatOverlay();
}
