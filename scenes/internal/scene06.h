// Scene06: the cube grid as a wall of 33 x 25 red cubes at depth 0 with an orange ring of sheared
// cubes growing and shrinking on it, a black wireframe over it and a camera swinging in front of it.
// No texture, no zoom blur; the beat overlay is drawn under the scene's own camera. Scene10 draws the
// same ring.
#pragma once

#include <cstdint>

inline constexpr std::int32_t kScene06Marker = 60;
inline constexpr std::int32_t kRingPoints = 37;  // k = 0 ... 36; the last repeats the first

void Scene06Init();
void Scene06Render();
void Scene06Done();

struct RingCell {
  std::int32_t x;
  std::int32_t y;
};

// Ring point k at `time`: r = sin(rad(time / 10)), (trunc(16 + 8 sin(rad(10 k)) r),
// trunc(12 + 8 cos(rad(10 k)) r)).
RingCell RingPoint(std::int32_t time, std::int32_t k);

// The ring's cells made orange and sheared forward by 20.
void WritePulsingRing(std::int32_t time);

// The shared camera swinging in front of the wall: eye (320 + 250 s, 240 + 140 s,
// 200 + 200 sin(time / 1400)) with s = sin(time / 600), looking at (320, 240, -399); applied.
void ApplySwingingCamera(std::int32_t time);
