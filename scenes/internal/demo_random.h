// The demo's one uniform pseudo-random generator: the beat overlay's silhouette choices and Scene08's
// particle scatter draw from it in turn.
//
// It starts from a fixed seed and is never reseeded, so every run shows the same sequence. Its whole
// state is one 32-bit word that can be read and set: an offline renderer that starts in the middle of
// the demo replays the draws up to its first frame, or restores a state it saved.
#pragma once

#include <cstdint>

inline constexpr std::uint32_t kDemoRandomSeed = 0x4B656C76u;

// A uniform integer in 0 ... n - 1 for n >= 1 (0 for n <= 0, without advancing).
std::int32_t DemoRandom(std::int32_t n);

std::uint32_t DemoRandomState();
void SetDemoRandomState(std::uint32_t state);
