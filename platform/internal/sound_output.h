// Where the mixed sound goes: the audio device, or nowhere at the device's pace.
//
// An output calls its pull function from a thread of its own for every buffer it plays, with the
// moment the buffer is taken and how many of the frames handed out so far (this buffer included)
// are not heard yet at that moment. Destroying the output stops it; no pull runs after that.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

using SoundPull = void (*)(float* stereo, std::size_t frames, std::int64_t queuedFrames,
                           std::chrono::steady_clock::time_point now);

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
};
