// Camera: the projection from an eye point, a target point and an up vector. Every operation assumes
// the model-view matrix is current on entry and leaves it current.
//
// "projection := P" below is: projection matrix := identity, then P; model-view matrix := identity.
// Perspectives use 45 degrees, aspect 4/3 whatever the window, near plane 0.1.
#pragma once

#include <array>

struct Vector3f {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

class Camera {
 public:
  // Stores the view; projection := perspective to 900 and the camera's view; active.
  Camera(float eyeX, float eyeY, float eyeZ, float centerX, float centerY, float centerZ, float upX, float upY,
         float upZ);
  // projection := perspective to 100 and the neutral view (looking down -z from the origin).
  ~Camera();
  Camera(const Camera&) = delete;
  Camera& operator=(const Camera&) = delete;

  // active := flag; projection := perspective to 100 and the neutral view (true) or the camera's
  // view (false).
  void SetMode(bool flag);
  // Stores the view; no GL call.
  void SetView(float eyeX, float eyeY, float eyeZ, float centerX, float centerY, float centerZ, float upX,
               float upY, float upZ);
  // If active: projection := perspective to 900 and the camera's view; otherwise nothing.
  void Apply();

  Vector3f eye;
  Vector3f center;
  Vector3f up;
  bool active = false;
};

// x * pi / 180 in extended precision, rounded to double.
double DegToRad(double x);
