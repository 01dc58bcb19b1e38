#include "runtime/internal/gl_lasting_state.h"

namespace {

constexpr GLenum kCapabilities[8] = {GL_DEPTH_TEST, GL_BLEND,          GL_TEXTURE_2D, GL_CULL_FACE,
                                     GL_LIGHTING,   GL_COLOR_MATERIAL, GL_NORMALIZE,  GL_LIGHT0};
constexpr GLenum kLightVectors[5] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_POSITION, GL_SPOT_DIRECTION};
constexpr GLenum kLightScalars[5] = {GL_SPOT_CUTOFF, GL_SPOT_EXPONENT, GL_CONSTANT_ATTENUATION,
                                     GL_LINEAR_ATTENUATION, GL_QUADRATIC_ATTENUATION};
constexpr GLenum kFaces[2] = {GL_FRONT, GL_BACK};
constexpr GLenum kMaterialVectors[4] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION};

GLint Integer(GLenum name) {
  GLint value = 0;
  glGetIntegerv(name, &value);
  return value;
}

void SetEnabled(GLenum capability, bool enabled) { enabled ? glEnable(capability) : glDisable(capability); }

// Light and material values go in under an identity model-view matrix: GL keeps the position and
// the spot direction in eye coordinates, as they were read.
void RestoreLightAndMaterials(const GlLastingState& state) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  for (int k = 0; k < 5; ++k) glLightfv(GL_LIGHT0, kLightVectors[k], state.light[k].data());
  for (int k = 0; k < 5; ++k) glLightf(GL_LIGHT0, kLightScalars[k], state.lightScalars[k]);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, state.globalAmbient.data());
  for (int face = 0; face < 2; ++face) {
    for (int k = 0; k < 4; ++k) glMaterialfv(kFaces[face], kMaterialVectors[k], state.material[face * 4 + k].data());
    glMaterialf(kFaces[face], GL_SHININESS, state.shininess[face]);
  }
  glColorMaterial(static_cast<GLenum>(state.colourMaterialFace), static_cast<GLenum>(state.colourMaterialParameter));
}

}  // namespace

GlLastingState CaptureGlState() {
  GlLastingState state;
  for (int k = 0; k < 8; ++k) state.enables[k] = glIsEnabled(kCapabilities[k]) == GL_TRUE;
  state.blendSource = Integer(GL_BLEND_SRC);
  state.blendDestination = Integer(GL_BLEND_DST);
  glGetFloatv(GL_COLOR_CLEAR_VALUE, state.clearColour.data());
  glGetFloatv(GL_CURRENT_COLOR, state.colour.data());
  state.boundTexture = Integer(GL_TEXTURE_BINDING_2D);
  glGetIntegerv(GL_POLYGON_MODE, state.polygonMode.data());
  state.matrixMode = Integer(GL_MATRIX_MODE);
  state.stackDepths = {Integer(GL_MODELVIEW_STACK_DEPTH), Integer(GL_PROJECTION_STACK_DEPTH)};
  glGetFloatv(GL_MODELVIEW_MATRIX, state.modelView.data());
  glGetFloatv(GL_PROJECTION_MATRIX, state.projection.data());
  state.colourMaterialFace = Integer(GL_COLOR_MATERIAL_FACE);
  state.colourMaterialParameter = Integer(GL_COLOR_MATERIAL_PARAMETER);
  glGetFloatv(GL_LIGHT_MODEL_AMBIENT, state.globalAmbient.data());
  for (int k = 0; k < 5; ++k) glGetLightfv(GL_LIGHT0, kLightVectors[k], state.light[k].data());
  for (int k = 0; k < 5; ++k) glGetLightfv(GL_LIGHT0, kLightScalars[k], &state.lightScalars[k]);
  for (int face = 0; face < 2; ++face) {
    for (int k = 0; k < 4; ++k) glGetMaterialfv(kFaces[face], kMaterialVectors[k], state.material[face * 4 + k].data());
    glGetMaterialfv(kFaces[face], GL_SHININESS, &state.shininess[face]);
  }
  return state;
}

void RestoreGlState(const GlLastingState& state) {
  // Colour material off first, so that restoring the colour leaves the materials alone.
  glDisable(GL_COLOR_MATERIAL);
  RestoreLightAndMaterials(state);
  glColor4fv(state.colour.data());
  for (int k = 0; k < 8; ++k) SetEnabled(kCapabilities[k], state.enables[k]);
  glBlendFunc(static_cast<GLenum>(state.blendSource), static_cast<GLenum>(state.blendDestination));
  glClearColor(state.clearColour[0], state.clearColour[1], state.clearColour[2], state.clearColour[3]);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(state.boundTexture));
  glPolygonMode(GL_FRONT, static_cast<GLenum>(state.polygonMode[0]));
  glPolygonMode(GL_BACK, static_cast<GLenum>(state.polygonMode[1]));
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(state.projection.data());
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(state.modelView.data());
  glMatrixMode(static_cast<GLenum>(state.matrixMode));
}
