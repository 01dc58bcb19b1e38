// DrawTaperedBox: a closed six-sided solid between a lower and an upper horizontal square.
//
// The lower square has its corners at (x1 +- s1, y1 - s1, z1 +- s1), the upper one at
// (x2 +- s2, y2 + s2, z2 +- s2). The cube grid draws every cell with it, moving only the lower
// square, which shears the cube. TaperedBoxVertices gives the 24 vertices in drawing order, so the
// geometry can be checked without a GL context.
#pragma once

#include <array>

struct TaperedBoxVertex {
  double normal[3];
  double texCoord[2];
  double position[3];
};

inline constexpr int kTaperedBoxVertices = 24;

std::array<TaperedBoxVertex, kTaperedBoxVertices> TaperedBoxVertices(double x1, double y1, double z1, double s1,
                                                                     double x2, double y2, double z2, double s2);

// One GL_QUADS batch of six faces, each preceded by its normal.
void DrawTaperedBox(double x1, double y1, double z1, double s1, double x2, double y2, double z2, double s2);
