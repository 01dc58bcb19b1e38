// GL tests: one headless window per test suite, and reading back the fixed-function state the
// engine sets.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "platform/window.h"

// One headless window (SDL's offscreen driver) per test suite.
template <int Width, int Height>
class HeadlessGlSuite : public ::testing::Test {
 public:
  static constexpr int kWidth = Width;
  static constexpr int kHeight = Height;
  static void SetUpTestSuite() { ASSERT_TRUE(zenCreateWindow("Glimmer", Width, Height, 32, false)); }
  static void TearDownTestSuite() { WindowClose(); }
};

inline GLint Integer(GLenum name) {
  GLint value = -1;
  glGetIntegerv(name, &value);
  return value;
}
inline GLint BoundTexture() { return Integer(GL_TEXTURE_BINDING_2D); }

inline GLint LevelWidth(GLint level) {
  GLint width = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
  return width;
}

// A light's or a material's parameter; -9 where GL wrote nothing.
template <void (*Get)(GLenum, GLenum, GLfloat*)>
std::array<float, 4> FloatsOf(GLenum lightOrFace, GLenum name) {
  std::array<float, 4> value{-9, -9, -9, -9};
  Get(lightOrFace, name, value.data());
  return value;
}
inline std::array<float, 4> LightValue(GLenum light, GLenum name) { return FloatsOf<glGetLightfv>(light, name); }
inline std::array<float, 4> MaterialValue(GLenum face, GLenum name) { return FloatsOf<glGetMaterialfv>(face, name); }

using Matrix = std::array<double, 16>;  // column-major, as GL gives it

inline Matrix ReadMatrix(GLenum which) {
  Matrix m{};
  glGetDoublev(which, m.data());
  return m;
}

inline Matrix Identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }
inline Matrix Translation(double x, double y, double z) { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}; }

// What gluPerspective(fovy, aspect, near, far) multiplies in.
inline Matrix Perspective(double fovy, double aspect, double zNear, double zFar) {
  const double f = 1.0 / std::tan(fovy / 2 * std::numbers::pi / 180), depth = zNear - zFar;
  return {f / aspect, 0, 0, 0, 0, f, 0, 0, 0, 0, (zFar + zNear) / depth, -1, 0, 0, 2 * zFar * zNear / depth, 0};
}

// What glOrtho(left, right, bottom, top, near, far) multiplies in.
inline Matrix Ortho(double left, double right, double bottom, double top, double zNear, double zFar) {
  const double w = right - left, h = top - bottom, d = zFar - zNear;
  return {2 / w, 0, 0, 0, 0, 2 / h, 0, 0, 0, 0, -2 / d, 0,
          -(right + left) / w, -(top + bottom) / h, -(zFar + zNear) / d, 1};
}

inline Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix m{};
  for (int column = 0; column < 4; ++column)
    for (int row = 0; row < 4; ++row)
      for (int k = 0; k < 4; ++k) m[column * 4 + row] += a[k * 4 + row] * b[column * 4 + k];
  return m;
}

// GL keeps its matrices in single precision.
inline ::testing::AssertionResult MatricesNear(const Matrix& actual, const Matrix& expected) {
  for (int i = 0; i < 16; ++i) {
    if (std::abs(actual[i] - expected[i]) > 1e-5 * std::max(1.0, std::abs(expected[i]))) {
      return ::testing::AssertionFailure() << "element " << i << ": " << actual[i] << " instead of " << expected[i];
    }
  }
  return ::testing::AssertionSuccess();
}
