#include "sequencing/music.h"

#include <algorithm>

#include "platform/sound.h"
#include "base/diagnostics.h"
#include "sequencing/sequencing.h"

namespace {

constexpr std::int32_t kMixRate = 44100;
constexpr std::int32_t kStreamBufferMs = 800;

SoundStream* stream = nullptr;
std::int32_t channel = 0;
bool layerStarted = false;

[[noreturn]] void SoundFailure() { FatalError("FMOD", SoundErrorText(SoundLastError())); }

}  // namespace

void StartMusic(bool on) {
  layerStarted = true;
  SoundSetOutput(on ? SoundOutputKind::Device : SoundOutputKind::Silent);
  SoundSetDriver(0);
  if (!SoundInit(kMixRate)) SoundFailure();
  SoundSetStreamBufferMs(kStreamBufferMs);
  stream = SoundStreamOpen(musicFile ? musicFile->c_str() : "", musicOffset);
  if (!stream) SoundFailure();
  channel = SoundStreamPlay(stream);
  if (channel < 0) SoundFailure();
  if (musicLength == 0) musicLength = SoundStreamLengthMs(stream);
}

void EnableSpectrum() {
  if (layerStarted) SoundSetSpectrumActive(true);
}

std::int32_t GetMusicTime() { return stream ? SoundStreamTimeMs(stream) : 0; }

void ReadSpectrum(float* target) {
  if (!layerStarted) {
    std::fill(target, target + kSpectrumValues, 0.0f);
    return;
  }
  const float* values = SoundSpectrum();
  std::copy(values, values + kSpectrumValues, target);
}

void StopMusic() {
  SoundStreamClose(stream);
  stream = nullptr;
  SoundClose();
  layerStarted = false;
}
