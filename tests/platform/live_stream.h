// The live stream on a clock of the test's own: what it has heard after an exact playing time, as
// the live spectrum reads it. For the tests that hold offline decoding against the live stream.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The 1024 mono samples the stream of `path` at `mixRate` has heard after exactly `timeMs` of play,
// oldest first: every frame up to floor(timeMs × mixRate / 1000) pulled at once, read at that moment.
std::vector<float> LiveHeardSamples(const std::string& path, std::int32_t timeMs, std::int32_t mixRate);
