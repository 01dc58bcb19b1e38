// Music held whole in memory, played from any position with a pause: the live player's sound.
//
// Pull copies the frames from the position on (silence past their end, or while paused) and moves the
// position on; the clock follows the position heard, as a stream's does. A seek moves the position
// and restarts the clock there; the output's queue, at most one device buffer, is still heard first,
// and the clock holds still until the new position is heard.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/internal/sound_clock.h"
#include "platform/internal/sound_playable.h"

class SoundTransport final : public SoundPlayable {
 public:
  SoundTransport(std::vector<float> stereo, std::int32_t mixRate);

  void Pull(float* stereo, std::size_t frames, std::int64_t queuedFrames, Time now) override;
  void HeardSamples(Time now, float* samples) override;

  void SetMusic(std::vector<float> stereo);
  void Seek(double ms, Time now);
  void Pause(bool paused, Time now);
  double TimeMs(Time now);

 private:
  std::int64_t Frames() const { return static_cast<std::int64_t>(stereo_.size() / 2); }

  std::mutex mutex_;  // the output thread pulls, the program seeks and reads
  std::vector<float> stereo_;
  std::int32_t mixRate_;
  std::int64_t position_ = 0;  // the next frame handed to the output
  bool paused_ = true;
  double pausedMs_ = 0.0;
  PlaybackClock clock_;
};
