// Scene10: Scene06's pulsing ring on Scene05's textured dark red wall at depth -399, an opaque black
// wireframe wall 399 units nearer the camera, a swinging camera, zoom blur and the beat overlay.
#pragma once

#include <cstdint>

inline constexpr std::int32_t kScene10Marker = 100;

void Scene10Init();
void Scene10Render();
void Scene10Done();
