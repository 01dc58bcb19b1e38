#include "platform/internal/sound_ring.h"

#include <algorithm>

StereoRing::StereoRing(std::size_t capacityFrames) : capacity_(capacityFrames), samples_(2 * capacityFrames) {}

bool StereoRing::Write(const float* frames, std::size_t count) {
  std::unique_lock lock(mutex_);
  while (count > 0) {
    roomFreed_.wait(lock, [&] { return stopped_ || filled_ < capacity_; });
    if (stopped_) return false;
    const std::size_t writeFrame = (readFrame_ + filled_) % capacity_;
    const std::size_t run = std::min({count, capacity_ - filled_, capacity_ - writeFrame});
    std::copy_n(frames, 2 * run, samples_.begin() + static_cast<std::ptrdiff_t>(2 * writeFrame));
    filled_ += run;
    frames += 2 * run;
    count -= run;
  }
  return true;
}

std::size_t StereoRing::Read(float* frames, std::size_t count) {
  std::size_t done = 0;
  {
    const std::lock_guard lock(mutex_);
    while (done < count && filled_ > 0) {
      const std::size_t run = std::min({count - done, filled_, capacity_ - readFrame_});
      std::copy_n(samples_.begin() + static_cast<std::ptrdiff_t>(2 * readFrame_), 2 * run, frames + 2 * done);
      readFrame_ = (readFrame_ + run) % capacity_;
      filled_ -= run;
      done += run;
    }
  }
  if (done > 0) roomFreed_.notify_one();
  return done;
}

void StereoRing::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  roomFreed_.notify_all();
}
