#include "scenes/internal/screen_pictures.h"

#include "effects/effects.h"
#include "scenes/internal/gl_vertex.h"

namespace {

void PushScreenProjection() {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, 640, 480, 0, -100, 100);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void PopScreenProjection() {
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
}

void EnableTexturedBlend(GLuint texture) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
}

void LeaveAdditive() {
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  PopScreenProjection();
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}

}  // namespace

void DrawSprite(GLuint texture, double size, double x, double y, double z, double r, double g, double b, double a,
                double angle) {
  PushScreenProjection();
  glTranslatef(static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z));
  glRotatef(static_cast<GLfloat>(angle), 0, 0, 1);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  SetColour(r, g, b, a);
  const double h = size / 2;
  if (!DrawingSkipped()) {
    glBegin(GL_QUADS);
    EmitNormal(0, 0, 1);
    EmitVertex(0, 0, -h, -h, 0);
    EmitVertex(1, 0, h, -h, 0);
    EmitVertex(1, 1, h, h, 0);
    EmitVertex(0, 1, -h, h, 0);
    glEnd();
  }
  LeaveAdditive();
}

void DrawScreenOverlay(GLuint texture, std::int32_t repeat, double alpha) {
  PushScreenProjection();
  glTranslatef(0, 0, 0);
  EnableTexturedBlend(texture);
  SetColour(0, 0, 0, alpha);
  const double n = repeat;
  // Square, so it reaches below the bottom edge and each tile keeps the picture's proportions.
  if (!DrawingSkipped()) {
    glBegin(GL_QUADS);
    EmitNormal(0, 0, 1);
    EmitVertex(0, 0, 0, 0, -99);
    EmitVertex(n, 0, 640, 0, -99);
    EmitVertex(n, n, 640, 640, -99);
    EmitVertex(0, n, 0, 640, -99);
    glEnd();
  }
  LeaveAdditive();
}
