#include "tools/kelvane-render/frame_clock.h"

#include <limits>

#include "runtime/runtime.h"

namespace {

std::int32_t ClockTime(std::int32_t start, std::int32_t fps, std::int64_t frame) {
  const std::int64_t time = std::int64_t(start) + frame * 1000 / fps;
  return time > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                          : std::int32_t(time);
}

}  // namespace

std::int32_t FrameClock::TimeOfFrame(std::int64_t frame) const { return ClockTime(from, fps, frame); }

std::int32_t FrameClock::TimeOfReplayFrame(std::int64_t frame) const { return ClockTime(0, fps, frame); }

std::int64_t FrameClock::FrameCount(std::int32_t musicLength) const {
  std::int64_t count = 0;
  for (;;) {
    const std::int32_t time = TimeOfFrame(count);
    if (to && time >= *to && count > 0) return count;
    ++count;
    if (!FrameLoopContinues(true, time, musicLength) || time == std::numeric_limits<std::int32_t>::max())
      return count;
  }
}

std::int64_t FrameClock::ReplayFrameCount() const {
  // The first k with trunc(k × 1000 / fps) >= from is ceil(from × fps / 1000).
  if (from <= 0) return 0;
  return (std::int64_t(from) * fps + 999) / 1000;
}
