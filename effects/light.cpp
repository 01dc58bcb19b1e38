#include "effects/effects.h"

namespace {

constexpr Rgba kWhite{1, 1, 1, 1};
constexpr Rgba kNoGlobalAmbient{0, 0, 0, 1};

bool IsDirectional(std::int32_t kind) { return kind == 1 || kind == 3; }

}  // namespace

Light::Light(std::int32_t lightId_, std::int32_t kind_) {
  lightId = lightId_;
  kind = kind_;
  on = false;
  ambient = kWhite;
  diffuse = kWhite;
  specular = kWhite;
  position = kWhite;
  glDisable(lightId);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kNoGlobalAmbient.data());
}

Light::~Light() { glDisable(lightId); }

void Light::SetAmbient(float r, float g, float b, float a) {
  ambient = {r, g, b, a};
  if (on) glLightfv(lightId, GL_AMBIENT, ambient.data());
}

void Light::SetDiffuse(float r, float g, float b, float a) {
  diffuse = {r, g, b, a};
  if (on) glLightfv(lightId, GL_DIFFUSE, diffuse.data());
}

void Light::SetSpecular(float r, float g, float b, float a) {
  specular = {r, g, b, a};
  if (on) glLightfv(lightId, GL_SPECULAR, specular.data());
}

// The matrix is reset whether or not the light is on, so the position is always sent in eye
// coordinates.
void Light::SetPosition(float x, float y, float z) {
  position = {x, y, z, IsDirectional(kind) ? 0.0f : 1.0f};
  glLoadIdentity();
  if (on) glLightfv(lightId, GL_POSITION, position.data());
}

void Light::SetSpotDirection(float x, float y, float z) {
  spotDirection = {x, y, z};
  glLoadIdentity();
  glEnable(GL_NORMALIZE);
  if (on) glLightfv(lightId, GL_SPOT_DIRECTION, spotDirection.data());
  glDisable(GL_NORMALIZE);
}

void Light::SetSpotCutoff(float value) {
  spotCutoff = value;
  if (on) glLightf(lightId, GL_SPOT_CUTOFF, value);
}

void Light::SetSpotExponent(float value) {
  spotExponent = value;
  if (on) glLightf(lightId, GL_SPOT_EXPONENT, value);
}

void Light::SetAttenuation(float constant, float linear, float quadratic) {
  constantAttenuation = constant;
  linearAttenuation = linear;
  quadraticAttenuation = quadratic;
  if (!on) return;
  glLightf(lightId, GL_CONSTANT_ATTENUATION, constant);
  glLightf(lightId, GL_LINEAR_ATTENUATION, linear);
  glLightf(lightId, GL_QUADRATIC_ATTENUATION, quadratic);
}

// Switching off turns lighting off altogether, even while other lights are still enabled.
void Light::Switch(bool flag) {
  if (flag) {
    glLightfv(lightId, GL_AMBIENT, ambient.data());
    glLightfv(lightId, GL_DIFFUSE, diffuse.data());
    glLightfv(lightId, GL_SPECULAR, specular.data());
    glLightfv(lightId, GL_POSITION, position.data());
    glLightfv(lightId, GL_SPOT_DIRECTION, spotDirection.data());
    glLightf(lightId, GL_SPOT_CUTOFF, spotCutoff);
    glLightf(lightId, GL_SPOT_EXPONENT, spotExponent);
    glLightf(lightId, GL_CONSTANT_ATTENUATION, constantAttenuation);
    glLightf(lightId, GL_LINEAR_ATTENUATION, linearAttenuation);
    glLightf(lightId, GL_QUADRATIC_ATTENUATION, quadraticAttenuation);
    if (!glIsEnabled(GL_LIGHTING)) glEnable(GL_LIGHTING);
    glEnable(lightId);
    on = true;
  } else {
    glDisable(lightId);
    if (glIsEnabled(GL_LIGHTING)) glDisable(GL_LIGHTING);
    on = false;
  }
}
