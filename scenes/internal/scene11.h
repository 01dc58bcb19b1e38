// Scene11, the closing scene: Scene05's wave wall seen by a camera that jumps from frame to frame,
// driven by the beat overlay's `lastBeat`; then the credits picture, turning slowly and receding
// from 84531 ms on, with five faint additive ghost copies.
#pragma once

#include <cstdint>

inline constexpr std::int32_t kScene11Marker = 110;
inline constexpr std::int32_t kCreditsStart = 84531;
inline constexpr int kCreditGhosts = 5;

void Scene11Init();
void Scene11Render();
void Scene11Done();

// Where the credits square stands at c = time - 84531: its turn in degrees and its depth.
struct CreditsPlacement {
  double angle;
  double depth;
};
// The square itself is ghost 0; ghosts 1 to 5 lag by g / 2 degrees and g ms.
CreditsPlacement CreditsPlacementAt(std::int32_t time, int ghost);
