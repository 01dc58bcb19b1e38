// Converts stereo frames from a file's rate to the mixing rate, block by block.
//
// Linear interpolation between neighbouring frames; the state carries over between blocks (and over
// the loop point), so a stream cut into blocks sounds the same as one converted whole. Equal rates
// pass frames through unchanged.
#pragma once

#include <cstdint>
#include <vector>

class StereoResampler {
 public:
  StereoResampler(std::int32_t fromRate, std::int32_t toRate);

  // Appends the converted frames of `frames` interleaved stereo frames from `input` to `output`.
  void Convert(const float* input, std::size_t frames, std::vector<float>& output);

 private:
  double step_;            // input frames per output frame
  double position_ = 0.0;  // of the next output frame, relative to previous_ (which is frame 0)
  bool passThrough_;
  bool primed_ = false;
  float previous_[2] = {0.0f, 0.0f};
};
