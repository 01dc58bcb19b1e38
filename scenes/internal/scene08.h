// Scene08: two perpendicular walls of 80 x 80 dark red flower tiles rippling in depth and tilting
// slowly, the picture drifting diagonally across them, every tile swelling with spectrum entry 170.
// Zoom blur and the beat overlay. Its set-up scatters the first particle system at random.
#pragma once

#include <cstdint>

inline constexpr std::int32_t kScene08Marker = 80;
inline constexpr int kScene08Band = 170;

void Scene08Init();
void Scene08Render();
void Scene08Done();

// Half the width of a tile for band level a: 0.1 + 3 a.
double Scene08TileHalfSize(double level);

// Particles 1 to 200 of the first system: x, y := random(200) / 10, z := (random(200) - 100) / 10,
// three draws per particle in that order.
void ScatterParticles();
