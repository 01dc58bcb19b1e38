// Camera, Light and Material against the GL state they leave behind.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "effects/effects.h"
#include "tests/support/gl_state.h"

namespace {

using CameraGl = HeadlessGlSuite<64, 48>;
using LightGl = HeadlessGlSuite<64, 48>;

const Matrix kNear100 = Perspective(45, 4.0 / 3.0, 0.1, 100);
const Matrix kFar900 = Perspective(45, 4.0 / 3.0, 0.1, 900);

void ExpectProjectionAndIdentityModelView(const Matrix& projection) {
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_PROJECTION_MATRIX), projection));
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_MODELVIEW_MATRIX), Identity()));
  EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_MODELVIEW);
}

TEST_F(CameraGl, TheViewGoesIntoTheProjectionWhereTheModeSaysSoAndTheDestructorLeavesItNeutral) {
  {
    // Eye on +z looking at the origin: the view is a translation by -5.
    Camera camera(0, 0, 5, 0, 0, 0, 0, 1, 0);
    ExpectProjectionAndIdentityModelView(Multiply(kFar900, Translation(0, 0, -5)));
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
    ExpectProjectionAndIdentityModelView(kNear100);
    glTranslatef(1, 2, 3);
    camera.Apply();
    ExpectProjectionAndIdentityModelView(Multiply(kFar900, Translation(0, 0, -9)));
  }
  ExpectProjectionAndIdentityModelView(kNear100);
}

TEST_F(LightGl, SettersWaitWhileOffSwitchingOnSendsThemAllAndOffTurnsLightingOff) {
  Light lamp(GL_LIGHT1, 1);  // directional
  lamp.SetAmbient(0.1f, 0.2f, 0.3f, 0.4f);
  lamp.SetSpecular(0.7f, 0.7f, 0.7f, 1);
  lamp.SetSpotCutoff(45);
  lamp.SetAttenuation(2, 3, 4);
  // Position and direction reset the matrix whether or not the light is on.
  glTranslatef(1, 2, 3);
  glEnable(GL_NORMALIZE);
  lamp.SetSpotDirection(0, 1, 0);
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_MODELVIEW_MATRIX), Identity()));
  EXPECT_FALSE(glIsEnabled(GL_NORMALIZE));
  glTranslatef(1, 2, 3);
  lamp.SetPosition(0, 1, 0);
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_MODELVIEW_MATRIX), Identity()));
  // Nothing is sent while off: GL keeps its own values.
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_AMBIENT), (std::array<float, 4>{0, 0, 0, 1}));
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_SPECULAR), (std::array<float, 4>{0, 0, 0, 1}));
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_POSITION), (std::array<float, 4>{0, 0, 1, 0}));
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_SPOT_DIRECTION)[2], -1.0f);
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_SPOT_CUTOFF)[0], 180.0f);
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_CONSTANT_ATTENUATION)[0], 1.0f);
  EXPECT_FALSE(glIsEnabled(GL_LIGHT1));

  glTranslatef(0, 0, -5);  // moves a point, not a direction
  glDisable(GL_LIGHTING);
  lamp.Switch(true);
  EXPECT_TRUE(lamp.on && glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_LIGHT1));
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_AMBIENT), (std::array<float, 4>{0.1f, 0.2f, 0.3f, 0.4f}));
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_DIFFUSE), (std::array<float, 4>{1, 1, 1, 1}));
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_SPECULAR), (std::array<float, 4>{0.7f, 0.7f, 0.7f, 1}));
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_POSITION), (std::array<float, 4>{0, 1, 0, 0}));
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_SPOT_CUTOFF)[0], 45.0f);
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_CONSTANT_ATTENUATION)[0], 2.0f);
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_LINEAR_ATTENUATION)[0], 3.0f);
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_QUADRATIC_ATTENUATION)[0], 4.0f);
  // While on, a setter sends at once; a positional light's position follows the matrix.
  lamp.kind = 2;
  glLoadIdentity();
  lamp.SetDiffuse(0.25f, 0.5f, 0.75f, 1);
  lamp.SetPosition(0, 0, 1);
  lamp.SetSpotExponent(8);
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_DIFFUSE), (std::array<float, 4>{0.25f, 0.5f, 0.75f, 1}));
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_POSITION), (std::array<float, 4>{0, 0, 1, 1}));
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_SPOT_EXPONENT)[0], 8.0f);
  // Switching one light off turns lighting off, while the other light stays enabled.
  Light other(GL_LIGHT2, 2);
  other.Switch(true);
  lamp.Switch(false);
  EXPECT_FALSE(lamp.on || glIsEnabled(GL_LIGHT1) || glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
  other.Switch(false);
}

TEST_F(LightGl, StartupObjectsWaitSwitchedOffAndResetCameraGivesTheNeutralOne) {
  glEnable(GL_LIGHTING);
  glEnable(GL_COLOR_MATERIAL);
  const std::array<float, 4> glSpecular = MaterialValue(GL_BACK, GL_SPECULAR);
  CreateStartupParticleSystems();
  CreateStartupLightsMaterialsCamera();
  ASSERT_TRUE(sharedParticles1 && sharedParticles2 && sharedParticles1 != sharedParticles2);
  EXPECT_EQ(std::pair(sharedParticles1->count, sharedParticles2->count), std::pair(200, 200));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0) || glIsEnabled(GL_LIGHTING) || glIsEnabled(GL_COLOR_MATERIAL));
  EXPECT_EQ(MaterialValue(GL_FRONT, GL_SPECULAR), glSpecular) << "a material sends nothing while off";
  EXPECT_EQ(sharedLight->position[3], 1.0f) << "kind 2 is a positional light";
  std::array<float, 4> globalAmbient{};
  glGetFloatv(GL_LIGHT_MODEL_AMBIENT, globalAmbient.data());
  EXPECT_EQ(globalAmbient, (std::array<float, 4>{0, 0, 0, 1}));
  // Switched on later by a scene, the light and material carry the start-up values. A material's
  // specular colour is for front faces only, its shininess for both.
  sharedLight->Switch(true);
  sharedMaterial1->Switch(true);
  EXPECT_EQ(LightValue(GL_LIGHT0, GL_AMBIENT), (std::array<float, 4>{0, 0, 0, 1}));
  EXPECT_EQ(LightValue(GL_LIGHT0, GL_SPOT_CUTOFF)[0], 180.0f);
  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
  EXPECT_EQ(Integer(GL_COLOR_MATERIAL_FACE), GL_FRONT_AND_BACK);
  EXPECT_EQ(Integer(GL_COLOR_MATERIAL_PARAMETER), GL_AMBIENT_AND_DIFFUSE);
  EXPECT_EQ(MaterialValue(GL_FRONT, GL_SPECULAR), (std::array<float, 4>{1, 1, 1, 1}));
  EXPECT_EQ(MaterialValue(GL_FRONT, GL_SHININESS)[0], 100.0f);
  sharedMaterial1->SetSpecular(0.9f, 0.8f, 0.7f, 1);
  sharedMaterial1->SetShininess(12);
  EXPECT_EQ(MaterialValue(GL_FRONT, GL_SPECULAR), (std::array<float, 4>{0.9f, 0.8f, 0.7f, 1}));
  EXPECT_EQ(MaterialValue(GL_BACK, GL_SPECULAR), glSpecular);
  EXPECT_EQ(MaterialValue(GL_BACK, GL_SHININESS)[0], 12.0f);
  sharedMaterial1->Switch(false);
  sharedMaterial1->SetShininess(99);
  EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
  EXPECT_EQ(MaterialValue(GL_BACK, GL_SHININESS)[0], 12.0f);

  EXPECT_TRUE(sharedCamera->active);
  ExpectProjectionAndIdentityModelView(kNear100);
  sharedCamera->SetView(0, 0, 7, 0, 0, 0, 0, 1, 0);
  sharedCamera->SetMode(false);
  ResetCamera();
  EXPECT_TRUE(static_cast<CameraFields&>(*sharedCamera) == (CameraFields{{0, 0, 0}, {0, 0, -1}, {0, 1, 0}, true}));
  ExpectProjectionAndIdentityModelView(kNear100);
  DestroySharedEffectsObjects();
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
  EXPECT_TRUE(!sharedCamera && !sharedLight && !sharedMaterial1 && !sharedMaterial2 && !sharedParticles1 &&
              !sharedParticles2);
}

}  // namespace
