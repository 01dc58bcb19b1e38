// A playing music stream: decoded ahead on a thread of its own, looping, heard through an output.
//
// Opening starts the decoder thread, which fills a buffer of the stream buffer's length with frames
// at the mixing rate and keeps it full; the file is never decoded whole, so opening returns at once.
// At the end of the music the decoder starts again from its first frame, so the sound goes on, and
// the playing time goes on counting past the length (it never goes backwards).
//
// The output calls Pull from its own thread for every buffer it plays. The stream keeps the mono mix
// of the frames it handed out, so the spectrum can look at exactly the 1024 samples heard last.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/internal/sound_clock.h"
#include "platform/internal/sound_playable.h"
#include "platform/internal/sound_ring.h"

class SoundSource;

class SoundStream final : public SoundPlayable {
 public:
  using Time = PlaybackClock::Time;

  // Nothing, with `error` set as SoundSource::Open sets it.
  static std::unique_ptr<SoundStream> Open(const char* path, std::int32_t byteOffset, std::int32_t mixRate,
                                           std::int32_t bufferMs, std::int32_t& error);
  ~SoundStream() override;
  SoundStream(const SoundStream&) = delete;
  SoundStream& operator=(const SoundStream&) = delete;

  std::int32_t LengthMs() const { return lengthMs_; }

  // Playing starts now: the time counts from 0.
  void StartClock(Time now);

  // Fills `frames` stereo frames of `stereo` (silence where the decoder has not caught up). After
  // this buffer the output still holds `queuedFrames` frames that are not heard yet at `now`.
  void Pull(float* stereo, std::size_t frames, std::int64_t queuedFrames, Time now) override;

  // The playing time in milliseconds at `now`.
  double TimeMs(Time now);
  // The 1024 mono samples heard last as of `now`, oldest first (zeros before the start).
  void HeardSamples(Time now, float* samples) override;

 private:
  SoundStream(std::unique_ptr<SoundSource> source, std::int32_t mixRate, std::size_t bufferFrames);
  void Decode();
  void RememberHeard(const float* stereo, std::size_t frames);

  std::unique_ptr<SoundSource> source_;
  std::int32_t mixRate_;
  std::int32_t lengthMs_;
  StereoRing ring_;
  std::thread decoder_;

  std::mutex stateMutex_;  // guards everything below: the output thread writes, the program reads
  PlaybackClock clock_;
  std::int64_t handedOut_ = 0;  // music frames given to the output so far
  std::vector<float> history_;  // mono mix of the last frames handed out, by frame index modulo size
};
