// The frame loop: one iteration is one frame, with no sleep and no frame-rate limit.
//
//   1. at most one window message            5. the timeline's init and render slots
//   2. BeginFrame                            6. CaptureFrame
//   3. musicTime := the music's position     7. PresentFrame (buffer swap)
//   4. spectrum refreshed                    8. the timeline's done slots
//
// The loop goes on while the window is active and musicTime <= music length - 100 ms. The test comes
// after the frame, so at least one frame is always drawn.
#pragma once

#include <cstdint>

// The exit test after each frame. Both times are signed 32-bit milliseconds; the subtraction is
// done wide so that no music length can overflow it.
constexpr bool FrameLoopContinues(bool active, std::int32_t musicTime, std::int32_t musicLength) {
  return active && std::int64_t(musicTime) <= std::int64_t(musicLength) - 100;
}

// Steps 5 and 6 for the `musicTime` and `spectrum` already set: the picture is finished, not shown.
void DrawFrameAtMusicTime();
// Steps 2, 5 and 6 with the clock and the spectrum given (512 values; null: all zero) instead of
// read from the music: how the renderer and the test harness draw frame-exactly.
void DrawFrameAt(std::int32_t time, const float* frameSpectrum);
// Steps 7 and 8.
void FinishFrameAtMusicTime();

// Runs frames until the exit test fails, or until `frameLimit` frames are drawn (tools that stop a
// run early, such as a leak check of a fixed number of frames); returns the number of frames drawn.
std::int64_t RunFrameLoop(std::int64_t frameLimit = INT64_MAX);
