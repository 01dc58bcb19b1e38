#include "tools/kelvane-render/frame_clock.h"

#include <limits>

#include "runtime/runtime.h"

std::int32_t FrameClock::TimeOfFrame(std::int64_t frame) const { return FrameClockTime(from, fps, frame); }

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

FrameRange PartOfFrames(std::int64_t frameCount, std::int32_t part, std::int32_t parts) {
  return {frameCount * (part - 1) / parts, frameCount * part / parts};
}
