// What the output plays: a stream decoded as it goes (SoundStream) or music held whole with a
// transport (SoundTransport). The output's thread calls Pull for every buffer; the program reads the
// spectrum's samples.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

class SoundPlayable {
 public:
  using Time = std::chrono::steady_clock::time_point;
  virtual ~SoundPlayable() = default;
  // Fills `frames` stereo frames of `stereo`. After this buffer the output still holds `queuedFrames`
  // frames that are not heard yet at `now`.
  virtual void Pull(float* stereo, std::size_t frames, std::int64_t queuedFrames, Time now) = 0;
  // The 1024 mono samples heard last as of `now`, oldest first (zeros before the start).
  virtual void HeardSamples(Time now, float* samples) = 0;
};
