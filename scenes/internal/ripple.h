// The depth ripple shared by the wave sheet and the tile walls: the corner heights of tile (i, j) of
// an 80 x 80 mesh at phase T (a time divided by 80), angles in degrees through DegToRad.
//
//   rowZ(j) = sin(rad(T + 80 j)) + sin(rad(T + j / 80)) + sin(rad(T + j / 80) / 200) / fine
//   colZ(i) = 2 sin(rad(T + i / 80)) + sin(rad(T + i / 80) / 200) / fine
//
// The text sheets use fine = 1000, the flower fields and walls 8000. A tile's left corners sit at
// rowZ, its right corners at rowZ + colZ.
#pragma once

#include <array>

inline constexpr int kRippleTiles = 80;

double RippleRowZ(double phase, int row, double fine);
double RippleColZ(double phase, int column, double fine);

// The 80 values for indices 1 ... 80, at index - 1; a mesh computes them once per frame.
std::array<double, kRippleTiles> RippleRows(double phase, double fine);
std::array<double, kRippleTiles> RippleColumns(double phase, double fine);

// Calls emitTile(i, j, rowZ(j), colZ(i)) for rows j = 1 ... 80 (outer) and columns i = 1 ... 80
// (inner), the order in which every mesh sends its tiles.
template <typename EmitTile>
void ForEachRippleTile(double phase, double fine, EmitTile&& emitTile) {
  const auto rows = RippleRows(phase, fine);
  const auto columns = RippleColumns(phase, fine);
  for (int j = 1; j <= kRippleTiles; ++j) {
    for (int i = 1; i <= kRippleTiles; ++i) emitTile(i, j, rows[j - 1], columns[i - 1]);
  }
}
