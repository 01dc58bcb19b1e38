// The music's working buffer: two channels of double-precision samples at 44100 Hz.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr int kSampleRate = 44100;

class StereoBuffer {
 public:
  explicit StereoBuffer(std::int64_t frames) : left_(frames, 0.0), right_(frames, 0.0) {}
  std::int64_t frames() const { return static_cast<std::int64_t>(left_.size()); }
  // Adds a mono sample at `frame`, placed by `pan` (-1 left, 0 middle, 1 right) at equal loudness
  // in the mono mix; frames outside the buffer are dropped.
  void Add(std::int64_t frame, double sample, double pan = 0.0) {
    if (frame < 0 || frame >= frames()) return;
    left_[frame] += sample * (1.0 - pan);
    right_[frame] += sample * (1.0 + pan);
  }
  void AddStereo(std::int64_t frame, double left, double right) {
    if (frame < 0 || frame >= frames()) return;
    left_[frame] += left;
    right_[frame] += right;
  }
  double left(std::int64_t frame) const { return left_[frame]; }
  double right(std::int64_t frame) const { return right_[frame]; }
  void Scale(std::int64_t frame, double factor) {
    left_[frame] *= factor;
    right_[frame] *= factor;
  }
  void Mix(const StereoBuffer& other, double gain);
  double Peak() const;

 private:
  std::vector<double> left_;
  std::vector<double> right_;
};

// The frame a time in milliseconds falls on.
inline std::int64_t FrameAt(double ms) { return static_cast<std::int64_t>(ms * kSampleRate / 1000.0 + 0.5); }
