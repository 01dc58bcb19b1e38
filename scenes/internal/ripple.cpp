#include "scenes/internal/ripple.h"

#include <cmath>

#include "effects/effects.h"

double RippleRowZ(double phase, int row, double fine) {
  const double slow = DegToRad(phase + row / 80.0);
  return std::sin(DegToRad(phase + 80.0 * row)) + std::sin(slow) + std::sin(slow / 200.0) / fine;
}

double RippleColZ(double phase, int column, double fine) {
  const double slow = DegToRad(phase + column / 80.0);
  return 2.0 * std::sin(slow) + std::sin(slow / 200.0) / fine;
}

std::array<double, kRippleTiles> RippleRows(double phase, double fine) {
  std::array<double, kRippleTiles> rows{};
  for (int j = 1; j <= kRippleTiles; ++j) rows[j - 1] = RippleRowZ(phase, j, fine);
  return rows;
}

std::array<double, kRippleTiles> RippleColumns(double phase, double fine) {
  std::array<double, kRippleTiles> columns{};
  for (int i = 1; i <= kRippleTiles; ++i) columns[i - 1] = RippleColZ(phase, i, fine);
  return columns;
}
