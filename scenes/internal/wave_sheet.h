// DrawWaveSheet: an 80 x 80 mesh of small textured tiles on a 0.2 x 0.1 raster that ripples in depth
// with time, its texture window scrolling sideways by 1/7000 of the picture per millisecond.
//
// It draws into the current matrices with the texture and blending the caller set. The sheet fades
// in from transparent over its first 4000 ms; `rowOffset` picks the band of the picture its rows show
// (each row 1/450 of the picture high).
#pragma once

#include <cstdint>

// 1 above 4000 ms, else 1 - (4000 - time) / 4000.
double WaveSheetOpacity(std::int32_t time);

void DrawWaveSheet(std::int32_t time, std::int32_t rowOffset);
