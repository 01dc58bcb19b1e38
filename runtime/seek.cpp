#include <algorithm>
#include <limits>
#include <memory>

#include "runtime/internal/gl_lasting_state.h"
#include "runtime/internal/lasting_state.h"
#include "runtime/runtime.h"

namespace {

// The lasting state as start-up leaves it: where every seek starts.
std::unique_ptr<LastingState> startState;

// One frame of the clock with its drawing skipped: the frame loop's steps, nothing drawn or shown.
void SkipFrame(std::int32_t time) {
  BeginFrame();
  musicTime = time;
  std::fill(spectrum, spectrum + kSpectrumValues, 0.0f);
  RunFrameSlots();
  CaptureFrame();
  PresentFrame();
  RunDoneSlots();
}

}  // namespace

std::int32_t FrameClockTime(std::int32_t from, std::int32_t fps, std::int64_t frame) {
  const std::int64_t time = std::int64_t(from) + frame * 1000 / fps;
  return time > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                          : std::int32_t(time);
}

LastingState CaptureLastingState() {
  return LastingState{CaptureTimelineRunState(), CaptureEffectsState(), CaptureScenesState(), CaptureGlState()};
}

void RestoreLastingState(const LastingState& state) {
  RestoreTimelineRunState(state.timelines);
  RestoreEffectsState(state.effects);
  RestoreScenesState(state.scenes);
  RestoreGlState(state.gl);
}

void RememberStartState() { startState = std::make_unique<LastingState>(CaptureLastingState()); }

void ForgetStartState() { startState.reset(); }

void SeekToFrame(std::int32_t from, std::int32_t fps, std::int64_t frame) {
  RestoreLastingState(*startState);
  SetDrawingSkipped(true);
  for (std::int64_t k = 0;; ++k) {
    const std::int32_t frameTime = FrameClockTime(0, fps, k);
    if (frameTime >= from) break;
    SkipFrame(frameTime);
    if (frameTime == std::numeric_limits<std::int32_t>::max()) break;
  }
  for (std::int64_t k = 0; k < frame; ++k) SkipFrame(FrameClockTime(from, fps, k));
  SetDrawingSkipped(false);
  SettleSkippedFrames();
}

void SeekTo(std::int32_t time, std::int32_t fps) { SeekToFrame(time, fps, 0); }
