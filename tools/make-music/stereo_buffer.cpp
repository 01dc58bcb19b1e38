#include "tools/make-music/stereo_buffer.h"

#include <algorithm>
#include <cmath>

void StereoBuffer::Mix(const StereoBuffer& other, double gain) {
  const std::int64_t n = std::min(frames(), other.frames());
  for (std::int64_t i = 0; i < n; ++i) {
    left_[i] += other.left_[i] * gain;
    right_[i] += other.right_[i] * gain;
  }
}

double StereoBuffer::Peak() const {
  double peak = 0.0;
  for (std::size_t i = 0; i < left_.size(); ++i) peak = std::max({peak, std::fabs(left_[i]), std::fabs(right_[i])});
  return peak;
}
