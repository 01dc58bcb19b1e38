#include "effects/effects.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <numbers>

namespace {

constexpr double kFieldOfView = 45.0;
constexpr double kAspect = 4.0 / 3.0;
constexpr double kNearPlane = 0.1;
constexpr double kFarPlane = 100.0;
constexpr double kCameraFarPlane = 900.0;  // while a camera's own view is applied

constexpr Vector3f kNeutralEye{0, 0, 0};
constexpr Vector3f kNeutralCenter{0, 0, -1};
constexpr Vector3f kNeutralUp{0, 1, 0};

// The view goes into the projection matrix; the model-view matrix is left current and identity.
void SetProjection(double farPlane, const Vector3f& eye, const Vector3f& center, const Vector3f& up) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(kFieldOfView, kAspect, kNearPlane, farPlane);
  gluLookAt(eye.x, eye.y, eye.z, center.x, center.y, center.z, up.x, up.y, up.z);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void SetNeutralProjection() { SetProjection(kFarPlane, kNeutralEye, kNeutralCenter, kNeutralUp); }

}  // namespace

Camera::Camera(float eyeX, float eyeY, float eyeZ, float centerX, float centerY, float centerZ, float upX,
               float upY, float upZ) {
  SetView(eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ);
  SetProjection(kCameraFarPlane, eye, center, up);
  active = true;
}

Camera::~Camera() { SetNeutralProjection(); }

void Camera::SetMode(bool flag) {
  active = flag;
  if (flag) {
    SetNeutralProjection();
  } else {
    SetProjection(kFarPlane, eye, center, up);
  }
}

void Camera::SetView(float eyeX, float eyeY, float eyeZ, float centerX, float centerY, float centerZ, float upX,
                     float upY, float upZ) {
  eye = {eyeX, eyeY, eyeZ};
  center = {centerX, centerY, centerZ};
  up = {upX, upY, upZ};
}

void Camera::Apply() {
  if (active) SetProjection(kCameraFarPlane, eye, center, up);
}

double DegToRad(double x) {
  return static_cast<double>(static_cast<long double>(x) * std::numbers::pi_v<long double> / 180.0L);
}
