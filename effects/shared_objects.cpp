#include "effects/shared_objects.h"

#include <GL/gl.h>

ParticleSystem* particleSystem1 = nullptr;
ParticleSystem* particleSystem2 = nullptr;
Light* light = nullptr;
Material* material1 = nullptr;
Material* material2 = nullptr;
Camera* camera = nullptr;

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
  particleSystem1 = new ParticleSystem(kStartupParticles);
  particleSystem2 = new ParticleSystem(kStartupParticles);
}

void CreateStartupLightsMaterialsCamera() {
  light = CreateStartupLight();
  material1 = CreateStartupMaterial();
  material2 = CreateStartupMaterial();
  camera = CreateStartupCamera();
}

void ReplaceCamera(Camera* fresh) {
  Release(camera);
  camera = fresh;
}

// The old camera goes first, so its destructor's projection cannot undo the new camera's.
void ReplaceCamera(float eyeX, float eyeY, float eyeZ, float centerX, float centerY, float centerZ, float upX,
                   float upY, float upZ) {
  Release(camera);
  camera = new Camera(eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ);
}

void ResetCamera() {
  Release(camera);
  camera = CreateStartupCamera();
}

void DestroySharedEffectsObjects() {
  Release(camera);
  Release(light);
  Release(material1);
  Release(material2);
  Release(particleSystem1);
  Release(particleSystem2);
}
