#include "scenes/internal/scene08.h"

#include <GL/gl.h>

#include <cmath>

#include "effects/effects.h"
#include "scenes/internal/beat_overlay.h"
#include "scenes/internal/demo_random.h"
#include "scenes/internal/ripple_wall.h"
#include "scenes/internal/scene_common.h"
#include "sequencing/sequencing.h"

namespace {

constexpr std::int32_t kTimeShift = 12000;
constexpr std::int32_t kScatteredParticles = 200;
constexpr double kWallFine = 8000.0;

float Tenth(long double value) { return static_cast<float>(value / 10.0L); }

void ApplyCamera(std::int32_t t, std::int32_t u) {
  const double eyeX = 4 + 6 * std::cos(u / 6000.0);
  const double eyeZ = 5 + 12 * std::sin((t + 9000) / 4400.0);
  sharedCamera->SetView(static_cast<float>(eyeX), 5.5f, static_cast<float>(eyeZ), 4, 3.5f, 0, 0, 1, 0);
  sharedCamera->Apply();
}

}  // namespace

double Scene08TileHalfSize(double level) { return 0.1 + 3 * level; }

void ScatterParticles() {
  for (std::int32_t k = 1; k <= kScatteredParticles; ++k) {
    Particle& particle = sharedParticles1->particles[k];
    particle.x = Tenth(DemoRandom(200));
    particle.y = Tenth(DemoRandom(200));
    particle.z = Tenth(DemoRandom(200) - 100);
  }
}

void Scene08Init() {
  if (!ClaimSceneMarker(kScene08Marker)) return;
  ResetCamera();
  SetSceneClearColour();
  SwitchOffLightAndMaterials();
  ScatterParticles();
}

void Scene08Render() {
  const std::int32_t t = musicTime;
  const std::int32_t u = t + kTimeShift;
  const double halfSize = Scene08TileHalfSize(spectrum[kScene08Band]);
  ApplyCamera(t, u);
  BeginFlowerDrawing();
  glRotatef(static_cast<GLfloat>(15 * std::sin(u / 3500.0)), 0, 0, 1);
  glRotatef(static_cast<GLfloat>(5 * std::sin(u / 3200.0)), 1, 0, 0);
  // The picture drifts diagonally, and each tile's piece of it is sheared a little more as time goes on.
  const RippleWall wall = {.phase = u / 80.0, .fine = kWallFine, .halfSize = halfSize, .p = u / 10000.0,
                           .q = u / 11000.0};
  glColor4f(0.5f, 0, 0, 1);
  DrawRippleWall(wall);
  glRotatef(90, 1, 0, 0);
  glColor4f(0.5f, 0, 0, 1);
  DrawRippleWall(wall);
  glDisable(GL_TEXTURE_2D);
  ZoomBlurUnderBeatOverlay(0.2f);
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
}

void Scene08Done() {}
