// Scene01, the flower field that opens the demo: a dark flower silhouette turning behind a rocking
// red plane, a rippling field of 6400 flower tiles that tilts one degree further on every beat from
// 8617 ms on, and up to four sheets of text tiles scrolling at staggered times. No beat overlay.
#pragma once

#include <cstdint>

inline constexpr std::int32_t kScene01Marker = 10;

void Scene01Init();
void Scene01Render();
// Leaves 51 or 50 in `sceneMarker`, never 10: Scene01's set-up runs again in every frame of its
// first 101 ms, and a Scene05 that starts while the marker holds 50 skips its own set-up.
void Scene01Done();

// The text sheets drawn at `time`, in drawing order: each one's time argument and row offset.
struct TextSheet {
  std::int32_t time;
  std::int32_t rowOffset;
};
struct TextSheets {
  int count = 0;
  TextSheet sheets[4]{};
};
TextSheets Scene01TextSheets(std::int32_t time);

// The field's tilt in degrees at `time`: 0 up to 8617 ms, then the beat number.
std::int32_t Scene01FieldTilt(std::int32_t time);
