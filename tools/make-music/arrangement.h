// The piece: where every note and hit falls.
//
// Rhythm: bars of 1925 ms (four beats of 481.25 ms) with downbeats at 1925 m - 200 ms, bar 44
// starting at 84500 ms; then, from 84531 ms on, the fast section on beats of 481 ms at
// 481 n - 200 ms (n = 177 … 208), with sixteenth hi-hats and a kick on every beat. The music is
// 99990 ms long.
#pragma once

#include <cstdint>

#include "tools/make-music/stereo_buffer.h"

inline constexpr double kLengthMs = 99990.0;
inline constexpr double kBarMs = 1925.0;
inline constexpr double kBeatMs = kBarMs / 4.0;
inline constexpr double kGridOffsetMs = -200.0;
inline constexpr double kFastStartMs = 84531.0;
inline constexpr double kFastBeatMs = 481.0;
inline constexpr int kLastSlowBar = 43;
inline constexpr int kFirstFastBeat = 177;
inline constexpr int kLastFastBeat = 208;

// Start of beat `beat` (0, 1, … counted from bar 0) of the bar grid.
inline double BeatMs(double beat) { return kGridOffsetMs + beat * kBeatMs; }
// Start of beat n of the fast section's grid.
inline double FastBeatMs(double n) { return kGridOffsetMs + n * kFastBeatMs; }

// Renders the whole piece, mixed and faded, into a buffer of the music's length.
StereoBuffer RenderPiece();
