#include "platform/internal/sound_stream.h"

#include <algorithm>

#include "platform/internal/sound_decoder.h"
#include "platform/internal/sound_source.h"
#include "platform/sound.h"

namespace {

// The buffer holds at least this much, whatever the buffer size asks for, so the output's own
// buffers (up to a few thousand frames) always find enough in it.
constexpr std::size_t kMinimumBufferFrames = 8192;
// Enough mono history to look back past any output's queue and still find a whole window.
constexpr std::size_t kHistoryFrames = 1 << 16;

}  // namespace

std::unique_ptr<SoundStream> SoundStream::Open(const char* path, std::int32_t byteOffset, std::int32_t mixRate,
                                               std::int32_t bufferMs, std::int32_t& error) {
  std::unique_ptr<SoundSource> source = SoundSource::Open(path, byteOffset, error);
  if (!source) return nullptr;
  const std::int64_t requested = static_cast<std::int64_t>(std::max(bufferMs, 0)) * mixRate / 1000;
  const std::size_t bufferFrames = std::max(static_cast<std::size_t>(requested), kMinimumBufferFrames);
  return std::unique_ptr<SoundStream>(new SoundStream(std::move(source), mixRate, bufferFrames));
}

SoundStream::SoundStream(std::unique_ptr<SoundSource> source, std::int32_t mixRate, std::size_t bufferFrames)
    : source_(std::move(source)),
      mixRate_(mixRate),
      lengthMs_(source_->LengthMs()),
      ring_(bufferFrames),
      history_(kHistoryFrames, 0.0f) {
  decoder_ = std::thread([this] { Decode(); });
}

SoundStream::~SoundStream() {
  ring_.Stop();
  decoder_.join();
}

void SoundStream::Decode() {
  LoopingDecoder decoder(*source_, mixRate_);
  std::vector<float> converted;
  do {
    converted.clear();
    if (!decoder.AppendBlock(converted)) return;  // a file that gives nothing stays silent
  } while (ring_.Write(converted.data(), converted.size() / 2));
}

void SoundStream::StartClock(Time now) {
  const std::lock_guard lock(stateMutex_);
  clock_.Start(now);
}

void SoundStream::RememberHeard(const float* stereo, std::size_t frames) {
  for (std::size_t i = 0; i < frames; ++i) {
    const std::size_t slot = static_cast<std::size_t>(handedOut_ + static_cast<std::int64_t>(i)) % kHistoryFrames;
    history_[slot] = 0.5f * (stereo[2 * i] + stereo[2 * i + 1]);
  }
}

void SoundStream::Pull(float* stereo, std::size_t frames, std::int64_t queuedFrames, Time now) {
  const std::size_t music = ring_.Read(stereo, frames);
  std::fill(stereo + 2 * music, stereo + 2 * frames, 0.0f);
  const std::lock_guard lock(stateMutex_);
  RememberHeard(stereo, music);
  handedOut_ += static_cast<std::int64_t>(music);
  const std::int64_t heard = std::max<std::int64_t>(handedOut_ - queuedFrames, 0);
  clock_.Observe(1000.0 * static_cast<double>(heard) / mixRate_, now);
}

double SoundStream::TimeMs(Time now) {
  const std::lock_guard lock(stateMutex_);
  return clock_.Read(now);
}

void SoundStream::HeardSamples(Time now, float* samples) {
  const std::lock_guard lock(stateMutex_);
  const std::int64_t heard = static_cast<std::int64_t>(clock_.Read(now) * mixRate_ / 1000.0);
  const std::int64_t end = std::min(heard, handedOut_);
  const std::int64_t oldestKept = handedOut_ - static_cast<std::int64_t>(kHistoryFrames);
  for (std::int32_t i = 0; i < kSpectrumWindow; ++i) {
    const std::int64_t frame = end - kSpectrumWindow + i;
    const bool known = frame >= 0 && frame >= oldestKept;
    samples[i] = known ? history_[static_cast<std::size_t>(frame) % kHistoryFrames] : 0.0f;
  }
}
