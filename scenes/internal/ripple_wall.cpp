#include "scenes/internal/ripple_wall.h"

#include <GL/gl.h>

#include "effects/effects.h"
#include "scenes/internal/gl_vertex.h"
#include "scenes/internal/ripple.h"

void DrawRippleWall(const RippleWall& wall) {
  if (DrawingSkipped()) return;
  const double h = wall.halfSize, p = wall.p, q = wall.q;
  glBegin(GL_QUADS);
  ForEachRippleTile(wall.phase, wall.fine, [&](int i, int j, double rowZ, double colZ) {
    EmitVertex((i - 1) / 80.0 + p, j / 80.0 + q, 0.6 * i - h, 0.6 * j - h, rowZ);
    EmitVertex(i / 80.0 + q, j / 80.0 + p, 0.6 * i + h, 0.6 * j - h, rowZ + colZ);
    EmitVertex(i / 80.0 + p, (j - 1) / 80.0 + q, 0.6 * i + h, 0.6 * j + h, rowZ + colZ);
    EmitVertex((i - 1) / 80.0 + q, (j - 1) / 80.0 + p, 0.6 * i - h, 0.6 * j + h, rowZ);
  });
  glEnd();
}
