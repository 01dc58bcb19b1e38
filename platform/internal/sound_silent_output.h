// The silent output: takes the stream's frames at exactly the mixing rate on the steady clock and
// plays them nowhere, so the playing time runs as it does through a device. Needs no device.
#pragma once

#include <memory>

#include "platform/internal/sound_output.h"

std::unique_ptr<SoundOutput> OpenSilentOutput(std::int32_t mixRate, SoundPull pull);
