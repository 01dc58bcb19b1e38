// Scene02: the flower picture as an 80 x 80 mosaic of dark red square tiles rippling in depth, seen
// by a swaying camera, zoom-blurred, under the beat overlay.
#pragma once

#include <cstdint>

inline constexpr std::int32_t kScene02Marker = 20;

void Scene02Init();
void Scene02Render();
void Scene02Done();
