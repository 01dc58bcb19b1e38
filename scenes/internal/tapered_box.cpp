#include "scenes/internal/tapered_box.h"

#include <GL/gl.h>

#include "scenes/internal/gl_vertex.h"

namespace {

enum class Square { Lower, Upper };

// One corner of a face: which square, the signs of its x and z offsets, its texture coordinate.
struct CornerRule {
  Square square;
  int xSign;
  int zSign;
  double s;
  double t;
};

struct FaceRule {
  double normal[3];
  CornerRule corners[4];
};

constexpr Square L = Square::Lower;
constexpr Square U = Square::Upper;

// front, back, top, bottom, right, left
constexpr FaceRule kFaces[6] = {
    {{0, 0, 1}, {{L, -1, +1, 0, 0}, {L, +1, +1, 1, 0}, {U, +1, +1, 1, 1}, {U, -1, +1, 0, 1}}},
    {{0, 0, -1}, {{L, -1, -1, 1, 0}, {U, -1, -1, 1, 1}, {U, +1, -1, 0, 1}, {L, +1, -1, 0, 0}}},
    {{0, 1, 0}, {{U, -1, -1, 0, 1}, {U, -1, +1, 0, 0}, {U, +1, +1, 1, 0}, {U, +1, -1, 1, 1}}},
    {{0, -1, 0}, {{L, -1, -1, 1, 1}, {L, +1, -1, 0, 1}, {L, +1, +1, 0, 0}, {L, -1, +1, 1, 0}}},
    {{1, 0, 0}, {{L, +1, -1, 1, 0}, {U, +1, -1, 1, 1}, {U, +1, +1, 0, 1}, {L, +1, +1, 0, 0}}},
    {{-1, 0, 0}, {{L, -1, -1, 0, 0}, {L, -1, +1, 1, 0}, {U, -1, +1, 1, 1}, {U, -1, -1, 0, 1}}},
};

struct SquareCentre {
  double x, y, z, half;
};

TaperedBoxVertex MakeVertex(const double (&normal)[3], const CornerRule& corner, const SquareCentre& lower,
                            const SquareCentre& upper) {
  const SquareCentre& square = corner.square == Square::Lower ? lower : upper;
  // The lower square lies half a size below its centre, the upper one half a size above.
  const double y = corner.square == Square::Lower ? square.y - square.half : square.y + square.half;
  return TaperedBoxVertex{{normal[0], normal[1], normal[2]},
                          {corner.s, corner.t},
                          {square.x + corner.xSign * square.half, y, square.z + corner.zSign * square.half}};
}

}  // namespace

std::array<TaperedBoxVertex, kTaperedBoxVertices> TaperedBoxVertices(double x1, double y1, double z1, double s1,
                                                                     double x2, double y2, double z2, double s2) {
  const SquareCentre lower{x1, y1, z1, s1};
  const SquareCentre upper{x2, y2, z2, s2};
  std::array<TaperedBoxVertex, kTaperedBoxVertices> vertices{};
  int next = 0;
  for (const FaceRule& face : kFaces) {
    for (const CornerRule& corner : face.corners) vertices[next++] = MakeVertex(face.normal, corner, lower, upper);
  }
  return vertices;
}

void DrawTaperedBox(double x1, double y1, double z1, double s1, double x2, double y2, double z2, double s2) {
  const auto vertices = TaperedBoxVertices(x1, y1, z1, s1, x2, y2, z2, s2);
  glBegin(GL_QUADS);
  for (int index = 0; index < kTaperedBoxVertices; ++index) {
    const TaperedBoxVertex& v = vertices[index];
    if (index % 4 == 0) EmitNormal(v.normal[0], v.normal[1], v.normal[2]);
    EmitVertex(v.texCoord[0], v.texCoord[1], v.position[0], v.position[1], v.position[2]);
  }
  glEnd();
}
