#include "scenes/demo_overlay.h"

#include <GL/gl.h>

#include "effects/overlay_fx.h"
#include "scenes/beat_overlay.h"
#include "scenes/scene_common.h"

namespace {

constexpr const char* kSilhouetteFiles[kSilhouettePictures] = {
    "data/overlay1.hwl", "data/overlay2.hwl", "data/overlay3.hwl",
    "data/overlay4.hwl", "data/overlay5.hwl", "data/overlay6.hwl",
};

BeatOverlayTextures DemoBeatOverlayTextures() {
  BeatOverlayTextures textures{};
  for (int k = 0; k < kSilhouettePictures; ++k) textures.silhouettes[k] = SceneTexture(kSilhouetteFiles[k]);
  textures.sign = SceneTexture("data/signoverlay.hwl");
  textures.text = SceneTexture("data/text_vmb2.hwl");
  return textures;
}

}  // namespace

void DrawBeatOverlay() { DrawBeatOverlayWith(DemoBeatOverlayTextures()); }

void ZoomBlurUnderBeatOverlay(float blurStep) {
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  CaptureFrame();
  ZoomBlur(20, blurStep, 0.5f);
  ApplyNeutralView();
  glLoadIdentity();
  DrawBeatOverlay();
}
