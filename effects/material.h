// Material: material colours, sent when it is switched on. Setters store their values and send them
// only while the material is on. Specular goes to front faces only.
#pragma once

#include <cstdint>

#include "effects/light.h"

class Material {
 public:
  // Off; ambient, diffuse and specular (1, 1, 1, 1); shininess 0.
  Material();
  Material(const Material&) = delete;
  Material& operator=(const Material&) = delete;

  void SetAmbient(float r, float g, float b, float a);
  void SetDiffuse(float r, float g, float b, float a);
  void SetSpecular(float r, float g, float b, float a);
  void SetShininess(std::int32_t n);
  void Switch(bool flag);

  bool on = false;
  Rgba ambient{};
  Rgba diffuse{};
  Rgba specular{};
  std::int32_t shininess = 0;
};
