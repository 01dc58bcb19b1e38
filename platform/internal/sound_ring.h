// The stream buffer: decoded stereo frames on their way from the decoder thread to the output.
//
// One writer (the decoder) blocks while the buffer is full; one reader (the output) never blocks and
// takes what is there. Stop wakes a waiting writer for good.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

class StereoRing {
 public:
  explicit StereoRing(std::size_t capacityFrames);

  // Writes all `frames` frames, waiting for room; false when stopped first.
  bool Write(const float* frames, std::size_t count);
  // Reads up to `count` frames into `frames`; returns how many there were.
  std::size_t Read(float* frames, std::size_t count);
  void Stop();

  std::size_t capacity() const { return capacity_; }

 private:
  std::size_t capacity_;
  std::vector<float> samples_;
  std::size_t readFrame_ = 0;  // index of the oldest frame
  std::size_t filled_ = 0;     // frames held
  bool stopped_ = false;
  std::mutex mutex_;
  std::condition_variable roomFreed_;
};
