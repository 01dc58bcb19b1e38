#include "scenes/internal/beat_overlay.h"

#include "effects/effects.h"
#include "scenes/internal/beat_clock.h"
#include "scenes/internal/demo_random.h"
#include "scenes/internal/gl_vertex.h"
#include "scenes/internal/scene_common.h"
#include "scenes/internal/screen_pictures.h"
#include "sequencing/sequencing.h"

BeatOverlayState beatOverlay;

namespace {

constexpr int kSignTiles = 11;

// How far into the current beat the music is, 0 up to 1/8: the strip and the bar move by 1/8 unit.
double BeatDrift(std::int32_t time) { return BeatPhase(time) / (8.0 * BeatPeriod(time)); }

void DrawSignStrip(GLuint sign, std::int32_t time) {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, sign);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glLoadIdentity();
  glTranslatef(-2.5f, static_cast<GLfloat>(-2.2 + BeatDrift(time)), -4.0f);
  glColor4f(1, 1, 1, 1);
  if (DrawingSkipped()) return;
  glBegin(GL_QUADS);
  for (int k = 0; k < kSignTiles; ++k) {
    const double left = k / 2.0;
    EmitNormal(0, 0, 1);
    EmitVertex(0, 1, left, 0.8, 0);
    EmitVertex(1, 1, 0.6 + left, 0.8, 0);
    EmitVertex(1, 0, 0.6 + left, 0.2, 0);
    EmitVertex(0, 0, left, 0.2, 0);
  }
  glEnd();
}

// One band of the text picture between r - 0.0214 and r, stretched over the given rectangle.
void DrawTextBand(double r, double left, double right, double top, double bottom) {
  if (DrawingSkipped()) return;
  glBegin(GL_QUADS);
  EmitNormal(0, 0, 1);
  EmitVertex(0, r - kTextLineHeight, left, top, 0);
  EmitVertex(1, r - kTextLineHeight, right, top, 0);
  EmitVertex(1, r, right, bottom, 0);
  EmitVertex(0, r, left, bottom, 0);
  glEnd();
}

void DrawTextBar(GLuint text, std::int32_t time) {
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  glLoadIdentity();
  glTranslatef(0, static_cast<GLfloat>(-1.2 - BeatDrift(time)), -4.0f);
  const double r = beatOverlay.textRow * kTextLineHeight;
  glColor4f(0, 0, 0, 1);
  DrawTextBand(r, -2.5, 3.5, 0.18, -0.02);
  glColor4f(1, 1, 1, 1);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, text);
  DrawTextBand(r, -2.2, 3.0, 0.15, 0);
}

}  // namespace

bool AdvanceBeatOverlay(std::int32_t time) {
  const std::int32_t beat = BeatNumber(time);
  BeatOverlayState& state = beatOverlay;
  if (static_cast<std::int64_t>(state.lastBeat) >= static_cast<std::int64_t>(beat)) return false;
  state.overlayRepeat = DemoRandom(4) + 1;
  state.overlayChoice = DemoRandom(6);
  state.textRow = state.textRow < kLastTextRow ? state.textRow + 1 : 0;
  state.lastBeat = beat;
  return true;
}

void DrawBeatOverlayWith(const BeatOverlayTextures& textures) {
  const std::int32_t time = musicTime;
  AdvanceBeatOverlay(time);
  DrawScreenOverlay(textures.silhouettes[beatOverlay.overlayChoice], beatOverlay.overlayRepeat, 1.0);
  DrawSignStrip(textures.sign, time);
  DrawTextBar(textures.text, time);
  glDisable(GL_TEXTURE_2D);
}

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
