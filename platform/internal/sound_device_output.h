// The audio device through SDL2: 32-bit float stereo at the mixing rate, SDL converting to whatever
// the device takes. Opening fails (nothing, `error` 3) when SDL's audio or the device cannot be
// started, as on a machine without a sound card.
#pragma once

#include <memory>

#include "platform/internal/sound_output.h"

std::unique_ptr<SoundOutput> OpenDeviceOutput(std::int32_t mixRate, SoundPull pull, std::int32_t& error);
