#include "platform/sound.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>

#include "platform/internal/sound_device_output.h"
#include "platform/internal/sound_silent_output.h"
#include "platform/internal/sound_stream.h"
#include "platform/internal/sound_transport.h"

namespace {

using Clock = std::chrono::steady_clock;

struct SoundLayer {
  SoundOutputKind outputKind = SoundOutputKind::Device;
  std::int32_t mixRate = 0;
  std::int32_t bufferMs = 800;
  std::unique_ptr<SoundOutput> output;
  std::atomic<std::int32_t> lastError{kSoundNoError};
  bool spectrumActive = false;
  float spectrum[kSpectrumBins] = {};

  // The stream the output plays; the output thread holds the lock for the whole of a pull, so a
  // stream taken out here is no longer in use once the lock is released.
  std::mutex playingMutex;
  SoundPlayable* playing = nullptr;
};

SoundLayer layer;

bool Initialised() { return layer.output != nullptr; }

template <typename T>
T Fail(std::int32_t code, T result) {
  layer.lastError = code;
  return result;
}

void PullPlaying(float* stereo, std::size_t frames, std::int64_t queuedFrames, Clock::time_point now) {
  const std::lock_guard lock(layer.playingMutex);
  if (layer.playing) {
    layer.playing->Pull(stereo, frames, queuedFrames, now);
  } else {
    std::fill(stereo, stereo + 2 * frames, 0.0f);
  }
}

}  // namespace

void SoundSetOutput(SoundOutputKind output) {
  if (Initialised()) {
    layer.lastError = kSoundAlreadyInitialised;
    return;
  }
  layer.outputKind = output;
}

bool SoundSetDriver(std::int32_t driver) {
  if (Initialised()) return Fail(kSoundAlreadyInitialised, false);
  if (driver != 0) return Fail(kSoundInvalidParameter, false);
  return true;
}

bool SoundInit(std::int32_t mixRate) {
  if (Initialised()) return Fail(kSoundAlreadyInitialised, false);
  if (mixRate <= 0) return Fail(kSoundInvalidParameter, false);
  std::int32_t error = kSoundNoError;
  if (layer.outputKind == SoundOutputKind::Device) {
    layer.output = OpenDeviceOutput(mixRate, PullPlaying, error);
  } else {
    layer.output = OpenSilentOutput(mixRate, PullPlaying);
  }
  if (!layer.output) return Fail(error, false);
  layer.mixRate = mixRate;
  return true;
}

void SoundSetStreamBufferMs(std::int32_t ms) { layer.bufferMs = ms; }

SoundStream* SoundStreamOpen(const char* file, std::int32_t byteOffset) {
  if (!Initialised()) return Fail<SoundStream*>(kSoundNotInitialised, nullptr);
  std::int32_t error = kSoundNoError;
  std::unique_ptr<SoundStream> stream = SoundStream::Open(file, byteOffset, layer.mixRate, layer.bufferMs, error);
  if (!stream) return Fail<SoundStream*>(error, nullptr);
  return stream.release();
}

std::int32_t SoundStreamPlay(SoundStream* stream) {
  if (!Initialised()) return Fail(kSoundNotInitialised, -1);
  if (!stream) return Fail(kSoundInvalidParameter, -1);
  const std::lock_guard lock(layer.playingMutex);
  layer.playing = stream;
  stream->StartClock(Clock::now());
  return 0;
}

std::int32_t SoundStreamLengthMs(SoundStream* stream) {
  if (!stream) return Fail(kSoundInvalidParameter, 0);
  return stream->LengthMs();
}

std::int32_t SoundStreamTimeMs(SoundStream* stream) {
  if (!stream) return Fail(kSoundInvalidParameter, 0);
  const double ms = stream->TimeMs(Clock::now());
  return static_cast<std::int32_t>(std::min(ms, 2147483647.0));  // truncated toward zero
}

void SoundStreamClose(SoundStream* stream) {
  if (!stream) return;
  {
    const std::lock_guard lock(layer.playingMutex);
    if (layer.playing == stream) layer.playing = nullptr;
  }
  delete stream;
}

void SoundClose() {
  layer.output.reset();
  layer.spectrumActive = false;
  const std::lock_guard lock(layer.playingMutex);
  layer.playing = nullptr;
}

std::int32_t SoundLastError() { return layer.lastError; }

SoundTransport* SoundTransportOpen(std::vector<float> stereo) {
  if (!Initialised()) return Fail<SoundTransport*>(kSoundNotInitialised, nullptr);
  auto* transport = new SoundTransport(std::move(stereo), layer.mixRate);
  const std::lock_guard lock(layer.playingMutex);
  layer.playing = transport;
  return transport;
}

void SoundTransportSetMusic(SoundTransport* transport, std::vector<float> stereo) {
  if (transport) transport->SetMusic(std::move(stereo));
}

void SoundTransportSeek(SoundTransport* transport, double ms) {
  if (transport) transport->Seek(ms, Clock::now());
}

void SoundTransportPause(SoundTransport* transport, bool paused) {
  if (transport) transport->Pause(paused, Clock::now());
}

double SoundTransportTimeMs(SoundTransport* transport) { return transport ? transport->TimeMs(Clock::now()) : 0.0; }

void SoundTransportClose(SoundTransport* transport) {
  if (!transport) return;
  {
    const std::lock_guard lock(layer.playingMutex);
    if (layer.playing == transport) layer.playing = nullptr;
  }
  delete transport;
}

void SoundSetSpectrumActive(bool active) { layer.spectrumActive = active; }

const float* SoundSpectrum() {
  float heard[kSpectrumWindow];
  bool playing = false;
  if (layer.spectrumActive) {
    const std::lock_guard lock(layer.playingMutex);
    if (layer.playing) {
      layer.playing->HeardSamples(Clock::now(), heard);
      playing = true;
    }
  }
  if (playing) {
    AnalyseSpectrum(heard, layer.spectrum);
  } else {
    std::fill(std::begin(layer.spectrum), std::end(layer.spectrum), 0.0f);
  }
  return layer.spectrum;
}
