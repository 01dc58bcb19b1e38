// Scene05: the cube grid as a wall of 33 x 25 dark red cubes textured with the flower picture, an
// orange sine wave two cubes thick running across it with its cubes sheared forward, a translucent
// wireframe over it, a camera flying in front of and behind the wall, zoom blur and the beat overlay.
// Scene11 draws the same wall through another camera.
#pragma once

#include <cstdint>

inline constexpr std::int32_t kScene05Marker = 50;

void Scene05Init();
void Scene05Render();
void Scene05Done();

// The wave's row offset w in column k at `time`: trunc(5 sin(time / 100 + rad(6 k))). The wave
// fills rows 12 + w and 13 + w and shears row 12 + w.
std::int32_t WaveRowOffset(std::int32_t time, std::int32_t column);

// Render steps 1 and 2: the textured, blended state for the wall, with the enables and the model-view
// matrix saved.
void BeginCubeWall();
// Render steps 4 to 10, after the caller applied its camera: the wave written into the grid, the wall
// and its wireframe, the saved state restored, zoom blur, and the beat overlay under the neutral view.
void DrawWaveWallAndOverlay(std::int32_t time);
