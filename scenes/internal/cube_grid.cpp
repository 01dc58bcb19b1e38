#include "scenes/internal/cube_grid.h"

#include <GL/gl.h>

#include <optional>
#include <vector>

#include "effects/effects.h"
#include "scenes/internal/tapered_box.h"

CubeColourCell cubeColour[kCubeGridMaxX + 1][kCubeGridMaxY + 1];
CubeOffsetCell cubeOffset[kCubeGridMaxX + 1][kCubeGridMaxY + 1];

namespace {

bool InsideGrid(std::int32_t x, std::int32_t y) { return x >= 0 && x <= kCubeGridMaxX && y >= 0 && y <= kCubeGridMaxY; }

// While frames are skipped, the grid's writes are kept here instead of made: a clear of all 308 321
// cells in every frame of a cube scene would cost a seek seconds, and only the last frame's writes
// decide what the grid holds at its end. A clear empties the journal; Settle makes the writes.
struct Write {
  std::int32_t x, y;
  std::optional<CubeColourCell> colour;
  float dz;
};

struct Journal {
  std::optional<CubeColourCell> clear;
  std::vector<Write> writes;
};

Journal journal;
constexpr std::size_t kMostJournalWrites = 4096;

void ClearNow(const CubeColourCell& colour) {
  for (std::int32_t x = 0; x <= kCubeGridMaxX; ++x) {
    for (std::int32_t y = 0; y <= kCubeGridMaxY; ++y) {
      cubeColour[x][y] = colour;
      cubeOffset[x][y] = CubeOffsetCell{0, 0, 0};
    }
  }
}

void SettleJournal() {
  if (journal.clear) ClearNow(*journal.clear);
  for (const Write& write : journal.writes) {
    if (write.colour) cubeColour[write.x][write.y] = *write.colour;
    else cubeOffset[write.x][write.y].dz = write.dz;
  }
  journal = {};
}

void Record(const Write& write) {
  journal.writes.push_back(write);
  if (journal.writes.size() >= kMostJournalWrites) SettleJournal();
}

// A cell's colour as the grid would hold it, journal included.
CubeColourCell ColourAt(std::int32_t x, std::int32_t y) {
  for (auto write = journal.writes.rbegin(); write != journal.writes.rend(); ++write) {
    if (write->colour && write->x == x && write->y == y) return *write->colour;
  }
  return journal.clear ? *journal.clear : cubeColour[x][y];
}

bool Journalling() {
  if (DrawingSkipped()) return true;
  SettleJournal();
  return false;
}

void DrawCube(std::int32_t x, std::int32_t y, double halfSize) {
  const CubeOffsetCell& offset = cubeOffset[x][y];
  DrawTaperedBox(offset.dx, offset.dy, offset.dz, halfSize, 0, 0, 0, halfSize);
}

void PlaceCube(std::int32_t x, std::int32_t y, double columnStep, double rowStep, float angle, float z) {
  glLoadIdentity();
  glTranslatef(static_cast<GLfloat>(x * columnStep), static_cast<GLfloat>(y * rowStep), z);
  glRotatef(angle, 1.0f, 0.5f, 0.0f);
}

}  // namespace

void ClearCubeGrid(float r, float g, float b, float a) {
  if (Journalling()) {
    journal = {CubeColourCell{r, g, b, a}, {}};
    return;
  }
  ClearNow(CubeColourCell{r, g, b, a});
}

void SetCubeColour(std::int32_t x, std::int32_t y, float r, float g, float b, float a) {
  if (!InsideGrid(x, y)) return;
  if (Journalling()) Record(Write{x, y, CubeColourCell{r, g, b, a}, 0});
  else cubeColour[x][y] = CubeColourCell{r, g, b, a};
}

void SetCubeDepth(std::int32_t x, std::int32_t y, float dz) {
  if (!InsideGrid(x, y)) return;
  if (Journalling()) Record(Write{x, y, std::nullopt, dz});
  else cubeOffset[x][y].dz = dz;
}

void SettleCubeGrid() { SettleJournal(); }

void DrawCubeGrid(std::int32_t cols, std::int32_t rows, float angle, bool uniform, float r, float g, float b,
                  float a, float z) {
  const double halfSize = 640.0 / (2.0 * cols);
  const double columnStep = 640.0 / cols;
  const double rowStep = 480.0 / rows;
  glLoadIdentity();
  if (uniform) glColor4f(r, g, b, a);
  if (DrawingSkipped()) {
    // What the last cube leaves: its matrix and, unless uniform, its colour.
    if (cols < 0 || rows < 0) return;
    PlaceCube(cols, rows, columnStep, rowStep, angle, z);
    if (uniform) return;
    const CubeColourCell colour = ColourAt(cols, rows);
    glColor4f(colour.r, colour.g, colour.b, colour.a);
    return;
  }
  SettleJournal();
  for (std::int32_t x = 0; x <= cols; ++x) {
    for (std::int32_t y = 0; y <= rows; ++y) {
      PlaceCube(x, y, columnStep, rowStep, angle, z);
      if (!uniform) {
        const CubeColourCell& colour = cubeColour[x][y];
        glColor4f(colour.r, colour.g, colour.b, colour.a);
      }
      DrawCube(x, y, halfSize);
    }
  }
}
