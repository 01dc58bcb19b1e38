#include <algorithm>
#include <limits>
#include <memory>
#include <optional>

#include "runtime/internal/discarded_draws.h"
#include "runtime/internal/gl_lasting_state.h"
#include "runtime/internal/immediate_buffer.h"
#include "runtime/internal/lasting_state.h"
#include "runtime/runtime.h"

namespace {

// The lasting state as start-up leaves it: where every seek starts.
std::unique_ptr<LastingState> startState;
std::unique_ptr<ImmediateBuffer> immediateBuffer;

// One frame of the clock run for its lasting state only: the frame loop's steps, nothing shown.
void RunUnseenFrame(std::int32_t time) {
  BeginFrame();
  musicTime = time;
  std::fill(spectrum, spectrum + kSpectrumValues, 0.0f);
  RunFrameSlots();
  CaptureFrame();
  PresentFrame();
  RunDoneSlots();
}

// Frames run unseen: their drawing skipped, or replayed with the draws discarded.
class UnseenFrames {
 public:
  explicit UnseenFrames(SeekMode mode) : mode_(mode) {
    if (mode_ == SeekMode::kQuick) {
      SetDrawingSkipped(true);
      return;
    }
    discarded_.emplace();
    Replay();
  }
  ~UnseenFrames() {
    if (mode_ == SeekMode::kQuick) {
      SetDrawingSkipped(false);
      SettleSkippedFrames();
      return;
    }
    Pause();
  }
  UnseenFrames(const UnseenFrames&) = delete;
  UnseenFrames& operator=(const UnseenFrames&) = delete;

  // Between frames of a replay: the driver draws again, for a measurement.
  void Pause() {
    SetFramesReplayed(false);
    discarded_->End();
  }
  void Replay() {
    discarded_->Begin();
    SetFramesReplayed(true);
  }

 private:
  SeekMode mode_;
  std::optional<DiscardedDraws> discarded_;  // replaying only
};

// The frames of the clock from 0 that come before `from`: frame k shows trunc(k * 1000 / fps), which
// is below `from` exactly while k * 1000 < from * fps.
std::int64_t FramesBefore(std::int32_t from, std::int32_t fps) {
  return (std::int64_t(from) * fps + 999) / 1000;
}

// The last noted fill at or before frame `frames` of the clock from 0: its index in `fills`.
std::optional<std::size_t> LastNotedFill(const VertexBufferFills& fills, std::int64_t frames, std::int32_t fps) {
  std::optional<std::size_t> last;
  for (std::size_t j = 0; j < fills.size() && std::int64_t(j) * fps <= frames; ++j)
    if (fills[j] >= 0) last = j;
  return last;
}

// Notes the fill before frame k of the clock from 0 when k starts a second and it is not noted yet.
void NoteFill(VertexBufferFills& fills, std::int64_t k, std::int32_t fps, UnseenFrames& unseen) {
  if (k % fps != 0 || !immediateBuffer) return;
  const std::size_t j = std::size_t(k / fps);
  if (j < fills.size() && fills[j] >= 0) return;
  unseen.Pause();
  const std::optional<std::uint32_t> fill = immediateBuffer->Measure();
  if (fill && immediateBuffer->Place(*fill)) {
    if (fills.size() <= j) fills.resize(j + 1, -1);
    fills[j] = *fill;
  } else {
    immediateBuffer.reset();  // a driver that does not show its fill: no more notes
  }
  unseen.Replay();
}

// The quick seek to frame `frames` of the clock from 0, then the noted fill placed: false when the
// driver does not let it be placed (the fill is then unknown).
bool SkipToNotedFill(std::int64_t frames, std::int32_t fps, std::int64_t fill) {
  {
    UnseenFrames skipped(SeekMode::kQuick);
    for (std::int64_t k = 0; k < frames; ++k) RunUnseenFrame(FrameClockTime(0, fps, k));
  }
  return immediateBuffer && immediateBuffer->Measure() && immediateBuffer->Place(std::uint32_t(fill));
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

void ForgetStartState() {
  startState.reset();
  immediateBuffer.reset();
}

void SeekToFrame(std::int32_t from, std::int32_t fps, std::int64_t frame, SeekMode mode, VertexBufferFills* fills,
                 bool noteFills) {
  RestoreLastingState(*startState);
  const std::int64_t before = FramesBefore(from, fps);
  std::int64_t k = 0;
  if (mode == SeekMode::kExact && fills) {
    if (!immediateBuffer) immediateBuffer = std::make_unique<ImmediateBuffer>();
    const std::optional<std::size_t> noted = LastNotedFill(*fills, before, fps);
    if (noted && SkipToNotedFill(std::int64_t(*noted) * fps, fps, (*fills)[*noted])) k = std::int64_t(*noted) * fps;
    else RestoreLastingState(*startState);
  }
  UnseenFrames unseen(mode);
  for (; k < before; ++k) {
    if (fills && noteFills && mode == SeekMode::kExact) NoteFill(*fills, k, fps, unseen);
    RunUnseenFrame(FrameClockTime(0, fps, k));
  }
  for (std::int64_t f = 0; f < frame; ++f) RunUnseenFrame(FrameClockTime(from, fps, f));
}

bool FillsNotedNear(const VertexBufferFills& fills, std::int32_t time, std::int32_t fps) {
  const std::int64_t before = FramesBefore(time, fps);
  const std::optional<std::size_t> noted = LastNotedFill(fills, before, fps);
  return noted && before - std::int64_t(*noted) * fps <= fps;
}

void SeekTo(std::int32_t time, std::int32_t fps, SeekMode mode) { SeekToFrame(time, fps, 0, mode); }
