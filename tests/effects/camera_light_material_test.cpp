// Camera, Light and Material against the GL state they leave behind.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "effects/effects.h"
#include "tests/support/gl_state.h"

namespace {

using EffectsGl = HeadlessGlSuite<64, 48>;

const Matrix kNear100 = Perspective(45, 4.0 / 3.0, 0.1, 100);
const Matrix kFar900 = Perspective(45, 4.0 / 3.0, 0.1, 900);

// The leading values of each parameter of a light or a face.
template <void (*Get)(GLenum, GLenum, GLfloat*)>
void ExpectValues(GLenum lightOrFace, std::initializer_list<std::pair<GLenum, std::vector<float>>> rows) {
  for (const auto& [name, values] : rows) {
    const std::array<float, 4> all = FloatsOf<Get>(lightOrFace, name);
    EXPECT_EQ(std::vector<float>(all.begin(), all.begin() + std::ssize(values)), values) << name;
  }
}
constexpr auto ExpectLight = ExpectValues<glGetLightfv>;
constexpr auto ExpectMaterial = ExpectValues<glGetMaterialfv>;

void ExpectProjectionAndIdentityModelView(const Matrix& projection) {
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_PROJECTION_MATRIX), projection));
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_MODELVIEW_MATRIX), Identity()));
  EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_MODELVIEW);
}

TEST_F(EffectsGl, CameraViewGoesIntoTheProjectionWhereTheModeSaysSoAndTheDestructorLeavesItNeutral) {
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

TEST_F(EffectsGl, LightSettersWaitWhileOffSwitchingOnSendsThemAllAndOffTurnsLightingOff) {
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
  ExpectLight(GL_LIGHT1, {{GL_AMBIENT, {0, 0, 0, 1}}, {GL_SPECULAR, {0, 0, 0, 1}}, {GL_POSITION, {0, 0, 1, 0}},
                         {GL_SPOT_DIRECTION, {0, 0, -1}}, {GL_SPOT_CUTOFF, {180}}, {GL_CONSTANT_ATTENUATION, {1}}});
  EXPECT_FALSE(glIsEnabled(GL_LIGHT1));

  glTranslatef(0, 0, -5);  // moves a point, not a direction
  glDisable(GL_LIGHTING);
  lamp.Switch(true);
  EXPECT_TRUE(lamp.on && glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_LIGHT1));
  ExpectLight(GL_LIGHT1, {{GL_AMBIENT, {0.1f, 0.2f, 0.3f, 0.4f}}, {GL_DIFFUSE, {1, 1, 1, 1}}, {GL_SPOT_CUTOFF, {45}},
                         {GL_SPECULAR, {0.7f, 0.7f, 0.7f, 1}}, {GL_POSITION, {0, 1, 0, 0}}, {GL_SPOT_EXPONENT, {0}},
                         {GL_SPOT_DIRECTION, {0, 1, 0}}, {GL_CONSTANT_ATTENUATION, {2}}, {GL_LINEAR_ATTENUATION, {3}},
                         {GL_QUADRATIC_ATTENUATION, {4}}});
  // While on, a setter sends at once; a positional light's position follows the matrix.
  lamp.kind = 2;
  glLoadIdentity();
  lamp.SetDiffuse(0.25f, 0.5f, 0.75f, 1);
  lamp.SetPosition(0, 0, 1);
  lamp.SetSpotExponent(8);
  ExpectLight(GL_LIGHT1, {{GL_DIFFUSE, {0.25f, 0.5f, 0.75f, 1}}, {GL_POSITION, {0, 0, 1, 1}}, {GL_SPOT_EXPONENT, {8}}});
  // Switching one light off turns lighting off, while the other light stays enabled.
  Light other(GL_LIGHT2, 2);
  other.Switch(true);
  lamp.Switch(false);
  EXPECT_FALSE(lamp.on || glIsEnabled(GL_LIGHT1) || glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
}

TEST_F(EffectsGl, StartupLightMaterialsAndParticlesWaitSwitchedOffAndResetCameraGivesTheNeutralOne) {
  glEnable(GL_LIGHTING);
  glEnable(GL_COLOR_MATERIAL);
  const std::array<float, 4> glSpecular = MaterialValue(GL_BACK, GL_SPECULAR);
  CreateStartupParticleSystems();
  CreateStartupLightsMaterialsCamera();
  ASSERT_TRUE(sharedParticles1 && sharedParticles2 && sharedParticles1 != sharedParticles2);
  EXPECT_EQ(std::pair(sharedParticles1->count, sharedParticles2->count), std::pair(200, 200));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0) || glIsEnabled(GL_LIGHTING) || glIsEnabled(GL_COLOR_MATERIAL));
  EXPECT_EQ(MaterialValue(GL_FRONT, GL_SPECULAR), glSpecular) << "a material sends nothing while off";
  std::array<float, 4> globalAmbient{};
  glGetFloatv(GL_LIGHT_MODEL_AMBIENT, globalAmbient.data());
  EXPECT_EQ(globalAmbient, (std::array<float, 4>{0, 0, 0, 1}));
  // Switched on later by a scene, the light and material carry the start-up values. A material's
  // specular colour is for front faces only, its shininess for both.
  sharedLight->Switch(true);
  sharedMaterial1->Switch(true);
  ExpectLight(GL_LIGHT0, {{GL_AMBIENT, {0, 0, 0, 1}}, {GL_POSITION, {0, 0, 1, 1}}, {GL_SPOT_CUTOFF, {180}}});
  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
  EXPECT_EQ(Integer(GL_COLOR_MATERIAL_FACE), GL_FRONT_AND_BACK);
  EXPECT_EQ(Integer(GL_COLOR_MATERIAL_PARAMETER), GL_AMBIENT_AND_DIFFUSE);
  ExpectMaterial(GL_FRONT, {{GL_SPECULAR, {1, 1, 1, 1}}, {GL_SHININESS, {100}}});
  sharedMaterial1->SetSpecular(0.9f, 0.8f, 0.7f, 1);
  sharedMaterial1->SetShininess(12);
  ExpectMaterial(GL_FRONT, {{GL_SPECULAR, {0.9f, 0.8f, 0.7f, 1}}});
  EXPECT_EQ(MaterialValue(GL_BACK, GL_SPECULAR), glSpecular);
  sharedMaterial1->Switch(false);
  sharedMaterial1->SetShininess(99);
  EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
  ExpectMaterial(GL_BACK, {{GL_SHININESS, {12}}});  // sent to both faces while on, not sent while off

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
