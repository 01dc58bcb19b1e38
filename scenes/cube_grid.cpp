#include "scenes/internal/cube_grid.h"

#include <GL/gl.h>

#include "scenes/internal/tapered_box.h"

CubeColourCell cubeColour[kCubeGridMaxX + 1][kCubeGridMaxY + 1];
CubeOffsetCell cubeOffset[kCubeGridMaxX + 1][kCubeGridMaxY + 1];

namespace {

bool InsideGrid(std::int32_t x, std::int32_t y) { return x >= 0 && x <= kCubeGridMaxX && y >= 0 && y <= kCubeGridMaxY; }

void DrawCube(std::int32_t x, std::int32_t y, double halfSize) {
  const CubeOffsetCell& offset = cubeOffset[x][y];
  DrawTaperedBox(offset.dx, offset.dy, offset.dz, halfSize, 0, 0, 0, halfSize);
}

}  // namespace

void ClearCubeGrid(float r, float g, float b, float a) {
  for (std::int32_t x = 0; x <= kCubeGridMaxX; ++x) {
    for (std::int32_t y = 0; y <= kCubeGridMaxY; ++y) {
      cubeColour[x][y] = CubeColourCell{r, g, b, a};
      cubeOffset[x][y] = CubeOffsetCell{0, 0, 0};
    }
  }
}

void SetCubeColour(std::int32_t x, std::int32_t y, float r, float g, float b, float a) {
  if (InsideGrid(x, y)) cubeColour[x][y] = CubeColourCell{r, g, b, a};
}

void SetCubeDepth(std::int32_t x, std::int32_t y, float dz) {
  if (InsideGrid(x, y)) cubeOffset[x][y].dz = dz;
}

void DrawCubeGrid(std::int32_t cols, std::int32_t rows, float angle, bool uniform, float r, float g, float b,
                  float a, float z) {
  const double halfSize = 640.0 / (2.0 * cols);
  const double columnStep = 640.0 / cols;
  const double rowStep = 480.0 / rows;
  glLoadIdentity();
  if (uniform) glColor4f(r, g, b, a);
  for (std::int32_t x = 0; x <= cols; ++x) {
    for (std::int32_t y = 0; y <= rows; ++y) {
      glLoadIdentity();
      glTranslatef(static_cast<GLfloat>(x * columnStep), static_cast<GLfloat>(y * rowStep), z);
      glRotatef(angle, 1.0f, 0.5f, 0.0f);
      if (!uniform) {
        const CubeColourCell& colour = cubeColour[x][y];
        glColor4f(colour.r, colour.g, colour.b, colour.a);
      }
      DrawCube(x, y, halfSize);
    }
  }
}
