// The cube grid: a screen-sized matrix of small cubes, each with its own colour and a displacement
// of its lower face. Four scenes use it as a coarse pixel display.
//
// Cells (x, y) run over 0 ... 640 and 0 ... 480, one more than the screen's pixels in each direction
// so a grid of cols x rows cubes includes both edges. Writes to cells outside the grid are ignored,
// which lets the scenes' ring and wave formulas write without clipping.
#pragma once

#include <cstdint>

#include "scenes/scenes.h"

inline constexpr std::int32_t kCubeGridMaxX = 640;
inline constexpr std::int32_t kCubeGridMaxY = 480;

// Indexed [x][y].
extern CubeColourCell cubeColour[kCubeGridMaxX + 1][kCubeGridMaxY + 1];
extern CubeOffsetCell cubeOffset[kCubeGridMaxX + 1][kCubeGridMaxY + 1];

// Every cell's colour := (r, g, b, a) and every offset := (0, 0, 0).
void ClearCubeGrid(float r, float g, float b, float a);
// While frames are skipped (DrawingSkipped), the writes below are kept aside and made here, or by
// the next write once frames are drawn again; the cells hold the grid only after it.
void SettleCubeGrid();
void SetCubeColour(std::int32_t x, std::int32_t y, float r, float g, float b, float a);
void SetCubeDepth(std::int32_t x, std::int32_t y, float dz);

// (cols + 1) x (rows + 1) cubes of edge 640 / cols on the raster 640 / cols by 480 / rows, at depth z,
// each turned by `angle` degrees about (1, 0.5, 0). With `uniform` the colour (r, g, b, a) is set
// once; otherwise each cube takes its cell's colour. Leaves the model-view matrix changed. A skipped
// frame draws nothing and leaves the matrix and the colour of the last cube.
void DrawCubeGrid(std::int32_t cols, std::int32_t rows, float angle, bool uniform, float r, float g, float b,
                  float a, float z);
