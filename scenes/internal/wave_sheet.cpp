#include "scenes/internal/wave_sheet.h"

#include <GL/gl.h>

#include "effects/effects.h"
#include "scenes/internal/gl_vertex.h"
#include "scenes/internal/ripple.h"

namespace {

constexpr std::int32_t kFadeInMs = 4000;
constexpr double kWaveSheetFine = 1000.0;

struct SheetTexWindow {
  double sa, sb, ta, tb;
};

SheetTexWindow TexWindow(std::int32_t time, std::int32_t rowOffset, int i, int j) {
  const double scroll = time / 7000.0;
  return SheetTexWindow{scroll + (i - 1) / 450.0, scroll + i / 450.0, 0.03 + (j + rowOffset) / 450.0,
                        0.03 + (j + rowOffset - 1) / 450.0};
}

void EmitSheetTile(int i, int j, double rowZ, double colZ, const SheetTexWindow& w) {
  EmitVertex(w.sa, w.ta, 0.2 * i - 0.08, 0.1 * j - 0.05, rowZ);
  EmitVertex(w.sb, w.ta, 0.2 * i + 0.1, 0.1 * j - 0.04, rowZ + colZ);
  EmitVertex(w.sb, w.tb, 0.2 * i + 0.08, 0.1 * j + 0.05, rowZ + colZ);
  EmitVertex(w.sa, w.tb, 0.2 * i - 0.1, 0.1 * j + 0.04, rowZ);
}

}  // namespace

double WaveSheetOpacity(std::int32_t time) {
  if (time > kFadeInMs) return 1.0;
  return 1.0 - (kFadeInMs - time) / static_cast<double>(kFadeInMs);
}

void DrawWaveSheet(std::int32_t time, std::int32_t rowOffset) {
  SetColour(1, 1, 1, WaveSheetOpacity(time));
  if (DrawingSkipped()) return;
  glBegin(GL_QUADS);
  ForEachRippleTile(time / 80.0, kWaveSheetFine, [&](int i, int j, double rowZ, double colZ) {
    EmitSheetTile(i, j, rowZ, colZ, TexWindow(time, rowOffset, i, j));
  });
  glEnd();
}
