#include "platform/internal/sound_resampler.h"

#include <cmath>

StereoResampler::StereoResampler(std::int32_t fromRate, std::int32_t toRate)
    : step_(static_cast<double>(fromRate) / toRate), passThrough_(fromRate == toRate) {}

void StereoResampler::Convert(const float* input, std::size_t frames, std::vector<float>& output) {
  if (passThrough_) {
    output.insert(output.end(), input, input + 2 * frames);
    return;
  }
  if (frames == 0) return;
  if (!primed_) {
    // The very first frame starts the stream: nothing before it to interpolate from.
    previous_[0] = input[0];
    previous_[1] = input[1];
    primed_ = true;
    input += 2;
    --frames;
  }
  // Frame i of this block is frame i + 1 counted from previous_.
  auto frameAt = [&](std::size_t index, int channel) {
    return index == 0 ? previous_[channel] : input[2 * (index - 1) + static_cast<std::size_t>(channel)];
  };
  while (position_ < static_cast<double>(frames)) {
    const std::size_t left = static_cast<std::size_t>(position_);
    const float weight = static_cast<float>(position_ - static_cast<double>(left));
    for (int channel = 0; channel < 2; ++channel) {
      const float a = frameAt(left, channel);
      const float b = frameAt(left + 1, channel);
      output.push_back(a + (b - a) * weight);
    }
    position_ += step_;
  }
  position_ -= static_cast<double>(frames);
  if (frames > 0) {
    previous_[0] = input[2 * (frames - 1)];
    previous_[1] = input[2 * (frames - 1) + 1];
  }
}
