// Scene09: a box corner of three perpendicular walls of 80 x 80 dark red flower tiles, each with the
// picture drifting at its own speed, all tiles swelling with spectrum entry 110, seen by a swaying
// camera; a finer zoom blur than the other scenes, and the beat overlay.
#pragma once

#include <cstdint>

inline constexpr std::int32_t kScene09Marker = 90;
inline constexpr int kScene09Band = 110;

void Scene09Init();
void Scene09Render();
void Scene09Done();

// Half the width of a tile for band level b: 0.2 + b.
double Scene09TileHalfSize(double level);
