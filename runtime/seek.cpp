#define GL_GLEXT_PROTOTYPES  // conditional rendering and queries: OpenGL 3.0 and 1.5
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <limits>
#include <memory>

#include "runtime/internal/gl_lasting_state.h"
#include "runtime/internal/lasting_state.h"
#include "runtime/runtime.h"

namespace {

// The lasting state as start-up leaves it: where every seek starts.
std::unique_ptr<LastingState> startState;

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

// Frames run unseen, their drawing skipped or replayed into a render condition that is never met:
// an occlusion query around nothing passes no sample.
class UnseenFrames {
 public:
  explicit UnseenFrames(SeekMode mode) : mode_(mode) {
    if (mode_ == SeekMode::kQuick) {
      SetDrawingSkipped(true);
      return;
    }
    glGenQueries(1, &nothingDrawn_);
    glBeginQuery(GL_SAMPLES_PASSED, nothingDrawn_);
    glEndQuery(GL_SAMPLES_PASSED);
    glBeginConditionalRender(nothingDrawn_, GL_QUERY_WAIT);
    SetFramesReplayed(true);
  }
  ~UnseenFrames() {
    if (mode_ == SeekMode::kQuick) {
      SetDrawingSkipped(false);
      SettleSkippedFrames();
      return;
    }
    SetFramesReplayed(false);
    glEndConditionalRender();
    glDeleteQueries(1, &nothingDrawn_);
  }
  UnseenFrames(const UnseenFrames&) = delete;
  UnseenFrames& operator=(const UnseenFrames&) = delete;

 private:
  SeekMode mode_;
  GLuint nothingDrawn_ = 0;
};

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

void SeekToFrame(std::int32_t from, std::int32_t fps, std::int64_t frame, SeekMode mode) {
  RestoreLastingState(*startState);
  UnseenFrames unseen(mode);
  for (std::int64_t k = 0;; ++k) {
    const std::int32_t frameTime = FrameClockTime(0, fps, k);
    if (frameTime >= from) break;
    RunUnseenFrame(frameTime);
    if (frameTime == std::numeric_limits<std::int32_t>::max()) break;
  }
  for (std::int64_t k = 0; k < frame; ++k) RunUnseenFrame(FrameClockTime(from, fps, k));
}

void SeekTo(std::int32_t time, std::int32_t fps, SeekMode mode) { SeekToFrame(time, fps, 0, mode); }
