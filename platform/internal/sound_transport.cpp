#include "platform/internal/sound_transport.h"

#include <algorithm>
#include <cmath>

#include "platform/sound.h"

SoundTransport::SoundTransport(std::vector<float> stereo, std::int32_t mixRate)
    : stereo_(std::move(stereo)), mixRate_(mixRate) {}

void SoundTransport::Pull(float* stereo, std::size_t frames, std::int64_t queuedFrames, Time now) {
  const std::lock_guard lock(mutex_);
  std::fill(stereo, stereo + 2 * frames, 0.0f);
  if (paused_) return;
  const std::int64_t available = std::clamp<std::int64_t>(Frames() - position_, 0, std::int64_t(frames));
  if (available > 0) {
    const auto from = stereo_.begin() + std::ptrdiff_t(2 * position_);
    std::copy(from, from + std::ptrdiff_t(2 * available), stereo);
  }
  position_ += std::int64_t(frames);
  const std::int64_t heard = std::max<std::int64_t>(position_ - queuedFrames, 0);
  clock_.Observe(1000.0 * double(heard) / mixRate_, now);
}

void SoundTransport::HeardSamples(Time now, float* samples) {
  const std::lock_guard lock(mutex_);
  const double ms = paused_ ? pausedMs_ : clock_.Read(now);
  const std::int64_t end = static_cast<std::int64_t>(ms * mixRate_ / 1000.0);
  for (std::int32_t i = 0; i < kSpectrumWindow; ++i) {
    const std::int64_t frame = end - kSpectrumWindow + i;
    const bool inside = frame >= 0 && frame < Frames();
    samples[i] = inside ? 0.5f * (stereo_[std::size_t(2 * frame)] + stereo_[std::size_t(2 * frame + 1)]) : 0.0f;
  }
}

void SoundTransport::SetMusic(std::vector<float> stereo) {
  const std::lock_guard lock(mutex_);
  stereo_ = std::move(stereo);
}

void SoundTransport::Seek(double ms, Time now) {
  const std::lock_guard lock(mutex_);
  ms = std::max(ms, 0.0);
  position_ = static_cast<std::int64_t>(std::floor(ms * mixRate_ / 1000.0));
  pausedMs_ = ms;
  if (!paused_) clock_.Restart(ms, now);
}

void SoundTransport::Pause(bool paused, Time now) {
  const std::lock_guard lock(mutex_);
  if (paused == paused_) return;
  if (paused) {
    pausedMs_ = clock_.Read(now);
    position_ = static_cast<std::int64_t>(std::floor(pausedMs_ * mixRate_ / 1000.0));
  } else {
    clock_.Restart(pausedMs_, now);
  }
  paused_ = paused;
}

double SoundTransport::TimeMs(Time now) {
  const std::lock_guard lock(mutex_);
  return paused_ ? pausedMs_ : clock_.Read(now);
}
