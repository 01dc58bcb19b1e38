// The beat counter the overlay, Scene01's field tilt and Scene11's camera follow.
//
// A beat lasts 1925 ms until the music reaches 84531 ms and 481 ms from then on. The count is taken
// 200 ms ahead of the music, so beat 1 begins at 1725 ms. The period switch makes the count jump
// (from 44 to 176 at 84531 ms); it never goes back, which is why the overlay compares beat numbers
// only with "less than".
#pragma once

#include <cstdint>

#include "scenes/scenes.h"

inline constexpr std::int32_t kSlowBeatPeriod = 1925;
inline constexpr std::int32_t kFastBeatPeriod = 481;
inline constexpr std::int32_t kFastBeatStart = 84531;
inline constexpr std::int32_t kBeatLead = 200;

// BeatPeriod(time): 1925 before 84531 ms, 481 from then on; BeatNumber(time): trunc((time + 200) /
// period) (both declared in scenes/scenes.h).
// (time + 200) mod period, with the sign of the dividend.
std::int32_t BeatPhase(std::int32_t time);
