// The renderer's fixed frame clock.
//
// Frame k of a render shows the music time from + trunc(k × 1000 / fps) milliseconds. The frames end
// as the live frame loop ends (after the first frame whose time passes the music length - 100 ms;
// there is always at least one frame), or before the first frame whose time reaches `to`.
//
// A render that starts later than 0 first replays the frames of the same clock from 0 that come
// before `from`, without writing them: the beat overlay, the random sequence and each scene's
// one-time set-up then stand exactly where a render from 0 leaves them.
#pragma once

#include <cstdint>
#include <optional>

struct FrameClock {
  std::int32_t from = 0;  // ms
  std::int32_t fps = 60;
  std::optional<std::int32_t> to;  // ms, exclusive; none: up to the live loop's end

  std::int32_t TimeOfFrame(std::int64_t frame) const;
  // Frames of this clock within the range and the live loop's end for `musicLength`.
  std::int64_t FrameCount(std::int32_t musicLength) const;
  // Frames of the clock from 0 (same fps) whose time lies before `from`.
  std::int64_t ReplayFrameCount() const;
  std::int32_t TimeOfReplayFrame(std::int64_t frame) const;
};
