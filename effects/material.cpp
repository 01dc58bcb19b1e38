#include "effects/effects.h"

#include <GL/gl.h>

namespace {
constexpr Rgba kWhite{1, 1, 1, 1};
}  // namespace

Material::Material() {
  ambient = kWhite;
  diffuse = kWhite;
  specular = kWhite;
}

void Material::SetAmbient(float r, float g, float b, float a) {
  ambient = {r, g, b, a};
  if (on) glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient.data());
}

void Material::SetDiffuse(float r, float g, float b, float a) {
  diffuse = {r, g, b, a};
  if (on) glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse.data());
}

// Specular highlights are for front faces only.
void Material::SetSpecular(float r, float g, float b, float a) {
  specular = {r, g, b, a};
  if (on) glMaterialfv(GL_FRONT, GL_SPECULAR, specular.data());
}

void Material::SetShininess(std::int32_t n) {
  shininess = n;
  if (on) glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, n);
}

void Material::Switch(bool flag) {
  if (flag) {
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient.data());
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse.data());
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular.data());
    glMateriali(GL_FRONT, GL_SHININESS, shininess);
    on = true;
  } else {
    glDisable(GL_COLOR_MATERIAL);
    on = false;
  }
}
