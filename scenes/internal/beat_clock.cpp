#include "scenes/internal/beat_clock.h"

std::int32_t BeatPeriod(std::int32_t time) { return time < kFastBeatStart ? kSlowBeatPeriod : kFastBeatPeriod; }

// Integer division and remainder truncate toward zero, as the beat arithmetic wants.
std::int32_t BeatNumber(std::int32_t time) { return (time + kBeatLead) / BeatPeriod(time); }

std::int32_t BeatPhase(std::int32_t time) { return (time + kBeatLead) % BeatPeriod(time); }
