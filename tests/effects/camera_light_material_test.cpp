// Camera, Light and Material against the GL state they leave behind.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "effects/shared_objects.h"
#include "tests/effects/gl_state.h"
#include "tests/support/test_pictures.h"

namespace {

using CameraGl = HeadlessGlSuite<64, 48>;
using LightGl = HeadlessGlSuite<64, 48>;

const double kAspect = 4.0 / 3.0;
const Matrix kNear100 = Perspective(45, kAspect, 0.1, 100);
const Matrix kFar900 = Perspective(45, kAspect, 0.1, 900);

void ExpectProjectionAndIdentityModelView(const Matrix& projection) {
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_PROJECTION_MATRIX), projection));
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_MODELVIEW_MATRIX), Identity()));
  EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_MODELVIEW);
}

TEST_F(CameraGl, StartupCameraIsNeutralUntilApplyWidensTheFarPlane) {
  Camera camera(0, 0, 0, 0, 0, -1, 0, 1, 0);
  ExpectProjectionAndIdentityModelView(kFar900);
  camera.SetMode(true);
  EXPECT_TRUE(camera.active);
  ExpectProjectionAndIdentityModelView(kNear100);
  glTranslatef(1, 2, 3);
  camera.Apply();
  ExpectProjectionAndIdentityModelView(kFar900);
}

TEST_F(CameraGl, ViewGoesIntoTheProjectionOnlyWhereTheModeSaysSo) {
  // Eye on +z looking at the origin: the view is a translation by -5.
  Camera camera(0, 0, 5, 0, 0, 0, 0, 1, 0);
  ExpectProjectionAndIdentityModelView(Multiply(kFar900, Translation(0, 0, -5)));
  camera.SetMode(true);
  ExpectProjectionAndIdentityModelView(kNear100);

  camera.SetMode(false);
  EXPECT_FALSE(camera.active);
  ExpectProjectionAndIdentityModelView(Multiply(kNear100, Translation(0, 0, -5)));
  // Apply on an inactive camera changes nothing, also after a new view.
  glTranslatef(1, 2, 3);
  camera.SetView(0, 0, 9, 0, 0, 0, 0, 1, 0);
  camera.Apply();
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_PROJECTION_MATRIX), Multiply(kNear100, Translation(0, 0, -5))));
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_MODELVIEW_MATRIX), Translation(1, 2, 3)));

  camera.SetMode(true);
  camera.Apply();
  ExpectProjectionAndIdentityModelView(Multiply(kFar900, Translation(0, 0, -9)));
}

TEST_F(CameraGl, DestructorLeavesTheNeutralProjection) {
  {
    Camera camera(0, 0, 5, 0, 0, 0, 0, 1, 0);
  }
  ExpectProjectionAndIdentityModelView(kNear100);
}

TEST_F(CameraGl, ReplacingTheCameraReleasesTheOldOneFirst) {
  CreateStartupLightsMaterialsCamera();
  ASSERT_NE(camera, nullptr);
  EXPECT_TRUE(camera->active);
  ExpectProjectionAndIdentityModelView(kNear100);

  ReplaceCamera(0, 0, 5, 0, 0, 0, 0, 1, 0);
  // The fresh camera's projection survives the old camera's release.
  ExpectProjectionAndIdentityModelView(Multiply(kFar900, Translation(0, 0, -5)));
  EXPECT_FLOAT_EQ(camera->eye.z, 5.0f);
  EXPECT_TRUE(camera->active);

  // A camera built by the caller comes in after the release; its SetMode decides the projection.
  ReplaceCamera(new Camera(0, 0, 6, 0, 0, 0, 0, 1, 0));
  EXPECT_FLOAT_EQ(camera->eye.z, 6.0f);
  camera->SetMode(false);
  ExpectProjectionAndIdentityModelView(Multiply(kNear100, Translation(0, 0, -6)));

  camera->SetView(0, 0, 7, 0, 0, 0, 0, 1, 0);
  ResetCamera();
  EXPECT_FLOAT_EQ(camera->eye.z, 0.0f);
  EXPECT_FLOAT_EQ(camera->center.z, -1.0f);
  EXPECT_FLOAT_EQ(camera->up.y, 1.0f);
  EXPECT_TRUE(camera->active);
  ExpectProjectionAndIdentityModelView(kNear100);

  DestroySharedEffectsObjects();
  EXPECT_EQ(camera, nullptr);
  EXPECT_EQ(light, nullptr);
  EXPECT_EQ(material1, nullptr);
  EXPECT_EQ(material2, nullptr);
}

void ExpectLightDefaults(GLenum id) {
  // GL's own values for a light other than GL_LIGHT0.
  EXPECT_EQ(LightValue(id, GL_AMBIENT), (std::array<float, 4>{0, 0, 0, 1}));
  EXPECT_EQ(LightValue(id, GL_DIFFUSE), (std::array<float, 4>{0, 0, 0, 1}));
  EXPECT_EQ(LightValue(id, GL_SPECULAR), (std::array<float, 4>{0, 0, 0, 1}));
  EXPECT_EQ(LightValue(id, GL_POSITION), (std::array<float, 4>{0, 0, 1, 0}));
  EXPECT_EQ(LightValue(id, GL_SPOT_DIRECTION)[2], -1.0f);
  EXPECT_EQ(LightValue(id, GL_SPOT_CUTOFF)[0], 180.0f);
  EXPECT_EQ(LightValue(id, GL_SPOT_EXPONENT)[0], 0.0f);
  EXPECT_EQ(LightValue(id, GL_CONSTANT_ATTENUATION)[0], 1.0f);
  EXPECT_EQ(LightValue(id, GL_LINEAR_ATTENUATION)[0], 0.0f);
  EXPECT_EQ(LightValue(id, GL_QUADRATIC_ATTENUATION)[0], 0.0f);
}

TEST_F(LightGl, SettersWhileOffSendNothingButStillResetTheMatrix) {
  Light lamp(GL_LIGHT1, 2);
  EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
  lamp.SetAmbient(0.1f, 0.2f, 0.3f, 0.4f);
  lamp.SetDiffuse(0.5f, 0.5f, 0.5f, 1);
  lamp.SetSpecular(0.7f, 0.7f, 0.7f, 1);
  lamp.SetSpotCutoff(30);
  lamp.SetSpotExponent(2);
  lamp.SetAttenuation(2, 3, 4);

  glTranslatef(1, 2, 3);
  lamp.SetPosition(4, 5, 6);
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_MODELVIEW_MATRIX), Identity()));
  EXPECT_EQ(lamp.position, (std::array<float, 4>{4, 5, 6, 1}));

  glTranslatef(1, 2, 3);
  glEnable(GL_NORMALIZE);
  lamp.SetSpotDirection(0, 1, 0);
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_MODELVIEW_MATRIX), Identity()));
  EXPECT_FALSE(glIsEnabled(GL_NORMALIZE));
  ExpectLightDefaults(GL_LIGHT1);
  EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
}

TEST_F(LightGl, SwitchingOnSendsEverythingUnderTheCurrentMatrix) {
  Light lamp(GL_LIGHT2, 1);  // directional
  lamp.SetAmbient(0.1f, 0.2f, 0.3f, 0.4f);
  lamp.SetPosition(0, 1, 0);
  EXPECT_EQ(lamp.position[3], 0.0f);
  lamp.SetSpotCutoff(45);
  lamp.SetAttenuation(2, 3, 4);
  glLoadIdentity();
  glTranslatef(0, 0, -5);  // moves a point, not a direction
  glDisable(GL_LIGHTING);
  lamp.Switch(true);
  EXPECT_TRUE(lamp.on);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
  EXPECT_EQ(LightValue(GL_LIGHT2, GL_AMBIENT), (std::array<float, 4>{0.1f, 0.2f, 0.3f, 0.4f}));
  EXPECT_EQ(LightValue(GL_LIGHT2, GL_DIFFUSE), (std::array<float, 4>{1, 1, 1, 1}));
  EXPECT_EQ(LightValue(GL_LIGHT2, GL_POSITION), (std::array<float, 4>{0, 1, 0, 0}));
  EXPECT_EQ(LightValue(GL_LIGHT2, GL_SPOT_CUTOFF)[0], 45.0f);
  EXPECT_EQ(LightValue(GL_LIGHT2, GL_CONSTANT_ATTENUATION)[0], 2.0f);
  EXPECT_EQ(LightValue(GL_LIGHT2, GL_LINEAR_ATTENUATION)[0], 3.0f);
  EXPECT_EQ(LightValue(GL_LIGHT2, GL_QUADRATIC_ATTENUATION)[0], 4.0f);

  // While on, a setter sends at once; a positional light's position follows the matrix.
  lamp.kind = 2;
  glLoadIdentity();
  lamp.SetDiffuse(0.25f, 0.5f, 0.75f, 1);
  lamp.SetPosition(0, 0, 1);
  EXPECT_EQ(LightValue(GL_LIGHT2, GL_DIFFUSE), (std::array<float, 4>{0.25f, 0.5f, 0.75f, 1}));
  EXPECT_EQ(LightValue(GL_LIGHT2, GL_POSITION), (std::array<float, 4>{0, 0, 1, 1}));
  lamp.SetSpotExponent(8);
  EXPECT_EQ(LightValue(GL_LIGHT2, GL_SPOT_EXPONENT)[0], 8.0f);
  lamp.Switch(false);
}

TEST_F(LightGl, SwitchingOneLightOffTurnsLightingOff) {
  Light first(GL_LIGHT3, 2);
  Light second(GL_LIGHT4, 2);
  first.Switch(true);
  second.Switch(true);
  second.Switch(false);
  EXPECT_FALSE(second.on);
  EXPECT_FALSE(glIsEnabled(GL_LIGHT4));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT3)) << "the other light stays enabled";
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  second.Switch(false);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST_F(LightGl, MaterialSendsOnlyWhileOnAndSpecularToFrontFaces) {
  const std::array<float, 4> backSpecular = MaterialValue(GL_BACK, GL_SPECULAR);
  const std::array<float, 4> frontSpecular = MaterialValue(GL_FRONT, GL_SPECULAR);
  Material material;
  material.SetSpecular(0.3f, 0.4f, 0.5f, 1);
  material.SetShininess(40);
  EXPECT_EQ(MaterialValue(GL_FRONT, GL_SPECULAR), frontSpecular) << "nothing is sent while off";
  EXPECT_NE(MaterialValue(GL_FRONT, GL_SHININESS)[0], 40.0f);

  material.Switch(true);
  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
  EXPECT_EQ(Integer(GL_COLOR_MATERIAL_FACE), GL_FRONT_AND_BACK);
  EXPECT_EQ(Integer(GL_COLOR_MATERIAL_PARAMETER), GL_AMBIENT_AND_DIFFUSE);
  EXPECT_EQ(MaterialValue(GL_FRONT, GL_SPECULAR), (std::array<float, 4>{0.3f, 0.4f, 0.5f, 1}));
  EXPECT_EQ(MaterialValue(GL_FRONT, GL_SHININESS)[0], 40.0f);
  EXPECT_EQ(MaterialValue(GL_BACK, GL_SPECULAR), backSpecular) << "switching on fills front faces only";

  material.SetSpecular(0.9f, 0.8f, 0.7f, 1);
  EXPECT_EQ(MaterialValue(GL_FRONT, GL_SPECULAR), (std::array<float, 4>{0.9f, 0.8f, 0.7f, 1}));
  EXPECT_EQ(MaterialValue(GL_BACK, GL_SPECULAR), backSpecular);
  material.SetShininess(12);
  EXPECT_EQ(MaterialValue(GL_BACK, GL_SHININESS)[0], 12.0f) << "shininess goes to both faces";

  material.Switch(false);
  EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
  material.SetShininess(99);
  EXPECT_EQ(MaterialValue(GL_FRONT, GL_SHININESS)[0], 12.0f);
}

TEST_F(LightGl, StartupObjectsEndSwitchedOff) {
  glEnable(GL_LIGHTING);
  glEnable(GL_COLOR_MATERIAL);
  CreateStartupLightsMaterialsCamera();
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
  EXPECT_EQ(light->position[3], 1.0f) << "kind 2 is a positional light";
  std::array<float, 4> globalAmbient{};
  glGetFloatv(GL_LIGHT_MODEL_AMBIENT, globalAmbient.data());
  EXPECT_EQ(globalAmbient, (std::array<float, 4>{0, 0, 0, 1}));
  // Switched on later by a scene, the light and material carry the start-up values.
  light->Switch(true);
  material1->Switch(true);
  EXPECT_EQ(LightValue(GL_LIGHT0, GL_AMBIENT), (std::array<float, 4>{0, 0, 0, 1}));
  EXPECT_EQ(LightValue(GL_LIGHT0, GL_SPOT_CUTOFF)[0], 180.0f);
  EXPECT_EQ(MaterialValue(GL_FRONT, GL_SHININESS)[0], 100.0f);
  ExpectProjectionAndIdentityModelView(kNear100);
  DestroySharedEffectsObjects();
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
}

}  // namespace
