// The renderer's fixed frame clock.
//
// Frame k of a render shows the music time from + trunc(k × 1000 / fps) milliseconds. The frames end
// as the live frame loop ends (after the first frame whose time passes the music length - 100 ms;
// there is always at least one frame), or before the first frame whose time reaches `to`. A render
// that starts later than 0 seeks to `from` first (runtime.h), so it shows what a render from 0 shows.
#pragma once

#include <cstdint>
#include <optional>

#include "tools/kelvane-render/render_arguments.h"

struct FrameClock {
  std::int32_t from = 0;  // ms
  std::int32_t fps = 60;
  std::optional<std::int32_t> to;  // ms, exclusive; none: up to the live loop's end

  std::int32_t TimeOfFrame(std::int64_t frame) const;
  // Frames of this clock within the range and the live loop's end for `musicLength`.
  std::int64_t FrameCount(std::int32_t musicLength) const;
};

// The `part`-th of `parts` contiguous parts of `frameCount` frames, as even as whole frames allow;
// parts beyond the frames are empty.
FrameRange PartOfFrames(std::int64_t frameCount, std::int32_t part, std::int32_t parts);
