// Light: the parameters of one OpenGL light, sent when it is switched on. Setters store their values
// and send them only while the light is on; SetPosition and SetSpotDirection reset the current matrix
// in every case. Switching a light off turns GL_LIGHTING off as well, whatever other lights are on.
#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>

using Rgba = std::array<float, 4>;

class Light {
 public:
  // `kind` 1 or 3 is directional (w = 0), anything else positional (w = 1). Off; colours and
  // position (1, 1, 1, 1); the light disabled; global ambient (0, 0, 0, 1).
  Light(std::int32_t lightId, std::int32_t kind);
  ~Light();  // disables the light
  Light(const Light&) = delete;
  Light& operator=(const Light&) = delete;

  void SetAmbient(float r, float g, float b, float a);
  void SetDiffuse(float r, float g, float b, float a);
  void SetSpecular(float r, float g, float b, float a);
  void SetPosition(float x, float y, float z);
  void SetSpotDirection(float x, float y, float z);
  void SetSpotCutoff(float value);
  void SetSpotExponent(float value);
  void SetAttenuation(float constant, float linear, float quadratic);
  void Switch(bool flag);

  std::int32_t lightId = 0;
  bool on = false;
  Rgba ambient{};
  Rgba diffuse{};
  Rgba specular{};
  std::array<float, 4> position{};
  std::array<float, 3> spotDirection{};
  float spotCutoff = 0.0f;
  float spotExponent = 0.0f;
  float constantAttenuation = 0.0f;
  float linearAttenuation = 0.0f;
  float quadraticAttenuation = 0.0f;
  std::int32_t kind = 0;
};
