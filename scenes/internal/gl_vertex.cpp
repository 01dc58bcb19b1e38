#include "scenes/internal/gl_vertex.h"

#include <GL/gl.h>

namespace {

GLfloat Single(double value) { return static_cast<GLfloat>(value); }

}  // namespace

void EmitVertex(double s, double t, double x, double y, double z) {
  glTexCoord2f(Single(s), Single(t));
  glVertex3f(Single(x), Single(y), Single(z));
}

void EmitNormal(double x, double y, double z) { glNormal3f(Single(x), Single(y), Single(z)); }

void SetColour(double r, double g, double b, double a) { glColor4f(Single(r), Single(g), Single(b), Single(a)); }
