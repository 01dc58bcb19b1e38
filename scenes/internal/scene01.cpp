#include "scenes/internal/scene01.h"

#include <GL/gl.h>

#include <cmath>

#include "effects/effects.h"
#include "scenes/internal/beat_clock.h"
#include "scenes/internal/gl_vertex.h"
#include "scenes/internal/ripple.h"
#include "scenes/internal/scene_common.h"
#include "scenes/internal/screen_pictures.h"
#include "scenes/internal/wave_sheet.h"
#include "sequencing/sequencing.h"

namespace {

constexpr std::int32_t kSilhouetteFrom = 900;
constexpr std::int32_t kBackgroundFrom = 1862;
constexpr std::int32_t kFieldFrom = 2829;
constexpr std::int32_t kTiltFrom = 8617;
constexpr std::int32_t kTextFrom = 3784;
constexpr double kFieldFine = 8000.0;
// The background plane needs only to lie about 16 units in front of the eye; no extra depth.
constexpr double kBackgroundDepthOffset = 0.0;

struct SheetWindow {
  std::int32_t after;   // exclusive; no lower bound when below every time
  std::int32_t before;  // exclusive
  std::int32_t timeShift;
  std::int32_t rowOffset;
};

constexpr SheetWindow kSheetWindows[4] = {
    {INT32_MIN, 10000, 3000, 0},
    {8000, 13500, 4500, 75},
    {10500, 18000, -6200, 150},
    {16500, 23500, 3300, 232},
};

void DrawSilhouette(std::int32_t t) {
  if (t <= kSilhouetteFrom) return;
  DrawSprite(SceneTexture(kFlowerPicture), 640, 40, 300, -99, 0, 0, 0, 0.5, 90 * std::sin(t / 20000.0));
}

void DrawBackgroundPlane(std::int32_t t) {
  if (t <= kBackgroundFrom) return;
  glColor4f(1, 1, 1, 1);
  glBindTexture(GL_TEXTURE_2D, SceneTexture("data/background_reddir.hwl"));
  glTranslatef(0, 0, static_cast<GLfloat>(1 + kBackgroundDepthOffset));
  const double w = std::sin(DegToRad(t / 180.0));
  glRotatef(static_cast<GLfloat>(3 * w), 0, 0, 1);
  if (DrawingSkipped()) return;
  glBegin(GL_QUADS);
  EmitVertex(0, 1, -9, 8, w);
  EmitVertex(1, 1, 13, 8, 0);
  EmitVertex(1, 0, 13, -8, 0);
  EmitVertex(0, 0, -9, -8, w);
  glEnd();
}

void EmitFieldTile(int i, int j, double rowZ, double colZ) {
  EmitVertex((i - 1) / 80.0, j / 80.0, 0.1 * i - 0.04, 0.1 * j - 0.05, rowZ);
  EmitVertex(i / 80.0, j / 80.0, 0.1 * i + 0.05, 0.1 * j - 0.04, rowZ + colZ);
  EmitVertex(i / 80.0, (j - 1) / 80.0, 0.1 * i + 0.04, 0.1 * j + 0.05, rowZ + colZ);
  EmitVertex((i - 1) / 80.0, (j - 1) / 80.0, 0.1 * i - 0.05, 0.1 * j + 0.04, rowZ);
}

void DrawFlowerField(std::int32_t t) {
  if (t <= kFieldFrom) return;
  glBindTexture(GL_TEXTURE_2D, SceneTexture(kFlowerPicture));
  glLoadIdentity();
  glTranslatef(-6, 0, 0);
  if (t > kTiltFrom) {
    const std::int32_t b = Scene01FieldTilt(t);
    glRotatef(static_cast<GLfloat>(b), 0.5f, 0, 1);
    glTranslatef(0, 0, static_cast<GLfloat>(b / 10.0));
  }
  glColor4f(1, 1, 1, 1);
  if (DrawingSkipped()) return;
  glBegin(GL_QUADS);
  ForEachRippleTile(t / 80.0, kFieldFine, EmitFieldTile);
  glEnd();
}

void DrawTextSheets(std::int32_t t) {
  if (t <= kTextFrom) return;
  glBindTexture(GL_TEXTURE_2D, SceneTexture("data/text_vmb1.hwl"));
  glLoadIdentity();
  glRotatef(static_cast<GLfloat>(3 * std::sin(DegToRad(t / 180.0))), 0, 0, 1);
  glRotatef(-3, 0, 0, 1);
  const TextSheets sheets = Scene01TextSheets(t);
  for (int k = 0; k < sheets.count; ++k) DrawWaveSheet(sheets.sheets[k].time, sheets.sheets[k].rowOffset);
}

}  // namespace

TextSheets Scene01TextSheets(std::int32_t time) {
  TextSheets result;
  for (const SheetWindow& window : kSheetWindows) {
    if (time > window.after && time < window.before) {
      result.sheets[result.count++] = TextSheet{time + window.timeShift, window.rowOffset};
    }
  }
  return result;
}

std::int32_t Scene01FieldTilt(std::int32_t time) {
  // The opening scene counts its own slow beats; the overlay's period switch comes long after it.
  return time > kTiltFrom ? (time + kBeatLead) / kSlowBeatPeriod : 0;
}

void Scene01Init() {
  if (!ClaimSceneMarker(kScene01Marker)) return;
  ResetCamera();
  SetSceneClearColour();
  SwitchOffLightAndMaterials();
}

void Scene01Render() {
  const std::int32_t t = musicTime;
  DrawSilhouette(t);
  sharedCamera->SetView(6, 0, -15, 4, 0, 0, 0, -1, 0);
  sharedCamera->Apply();
  glEnable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  DrawBackgroundPlane(t);
  glDisable(GL_DEPTH_TEST);
  DrawFlowerField(t);
  DrawTextSheets(t);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
}

void Scene01Done() { SceneMarker() = std::sin(musicTime / 2000.0) > 0 ? 51 : 50; }
