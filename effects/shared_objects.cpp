#include "effects/effects.h"

#include <GL/gl.h>

#include <algorithm>

ParticleSystem* sharedParticles1 = nullptr;
ParticleSystem* sharedParticles2 = nullptr;
Light* sharedLight = nullptr;
Material* sharedMaterial1 = nullptr;
Material* sharedMaterial2 = nullptr;
Camera* sharedCamera = nullptr;

namespace {

constexpr std::int32_t kStartupParticles = 200;
constexpr std::int32_t kPositionalLight = 2;

Light* CreateStartupLight() {
  Light* created = new Light(GL_LIGHT0, kPositionalLight);
  created->SetAmbient(0, 0, 0, 1);
  created->SetDiffuse(1, 1, 1, 1);
  created->SetSpecular(1, 1, 1, 1);
  created->SetPosition(0, 0, 1);
  created->SetSpotDirection(0, 0, -1);
  created->SetSpotCutoff(180);
  created->SetSpotExponent(0);
  created->SetAttenuation(1, 0, 0);
  created->Switch(false);
  return created;
}

Material* CreateStartupMaterial() {
  Material* created = new Material;
  created->SetAmbient(0.2f, 0.2f, 0.2f, 1);
  created->SetDiffuse(0.8f, 0.8f, 0.8f, 1);
  created->SetSpecular(1, 1, 1, 1);
  created->SetShininess(100);
  created->Switch(false);
  return created;
}

Camera* CreateStartupCamera() {
  Camera* created = new Camera(0, 0, 0, 0, 0, -1, 0, 1, 0);
  created->SetMode(true);
  return created;
}

template <typename T>
void Release(T*& slot) {
  delete slot;
  slot = nullptr;
}

}  // namespace

void CreateStartupParticleSystems() {
  sharedParticles1 = new ParticleSystem(kStartupParticles);
  sharedParticles2 = new ParticleSystem(kStartupParticles);
}

void CreateStartupLightsMaterialsCamera() {
  sharedLight = CreateStartupLight();
  sharedMaterial1 = CreateStartupMaterial();
  sharedMaterial2 = CreateStartupMaterial();
  sharedCamera = CreateStartupCamera();
}

void ResetCamera() {
  Release(sharedCamera);
  sharedCamera = CreateStartupCamera();
}

void DestroySharedEffectsObjects() {
  Release(sharedCamera);
  Release(sharedLight);
  Release(sharedMaterial1);
  Release(sharedMaterial2);
  Release(sharedParticles1);
  Release(sharedParticles2);
}

EffectsLastingState CaptureEffectsState() {
  EffectsLastingState state;
  state.camera = *sharedCamera;
  state.light = *sharedLight;
  state.material1 = *sharedMaterial1;
  state.material2 = *sharedMaterial2;
  state.particles1.assign(sharedParticles1->particles.begin(), sharedParticles1->particles.end());
  state.particles2.assign(sharedParticles2->particles.begin(), sharedParticles2->particles.end());
  return state;
}

void RestoreEffectsState(const EffectsLastingState& state) {
  static_cast<CameraFields&>(*sharedCamera) = state.camera;
  static_cast<LightFields&>(*sharedLight) = state.light;
  static_cast<MaterialFields&>(*sharedMaterial1) = state.material1;
  static_cast<MaterialFields&>(*sharedMaterial2) = state.material2;
  std::copy(state.particles1.begin(), state.particles1.end(), sharedParticles1->particles.begin());
  std::copy(state.particles2.begin(), state.particles2.end(), sharedParticles2->particles.begin());
}
