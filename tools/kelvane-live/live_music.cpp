#include "tools/kelvane-live/live_music.h"

#include <algorithm>

#include "sequencing/sequencing.h"

namespace {

bool StartLayer(SoundOutputKind output) {
  SoundSetOutput(output);
  SoundSetDriver(0);
  return SoundInit(kMusicMixRate);
}

}  // namespace

LiveMusic::LiveMusic(bool silent, std::string& warning) {
  if (!StartLayer(silent ? SoundOutputKind::Silent : SoundOutputKind::Device)) {
    warning = std::string(SoundErrorText(SoundLastError())) + ": the music keeps its time without sound";
    StartLayer(SoundOutputKind::Silent);
  }
  transport_ = SoundTransportOpen({});
}

LiveMusic::~LiveMusic() {
  SoundTransportClose(transport_);
  SoundClose();
}

MaybeFailure LiveMusic::Load() {
  if (!musicFile) {
    samples_ = MusicSamples({});
    SoundTransportSetMusic(transport_, {});
    return std::nullopt;
  }
  const MusicFile file = InspectMusic(*musicFile, musicOffset);
  if (file.error != kSoundNoError) return Failure::Fatal("FMOD", SoundErrorText(file.error));
  if (musicLength == 0) musicLength = file.lengthMs;
  // A second beyond the end: the last frames' spectrum windows and what the device plays past it.
  samples_ = DecodeMusic(*musicFile, musicOffset, StreamFrameAtTime(std::max(musicLength, 0)) + kMusicMixRate);
  SoundTransportSetMusic(transport_, samples_.stereo());
  return std::nullopt;
}

std::int32_t LiveMusic::Last() const { return std::max(musicLength - 100, 0); }

std::int32_t LiveMusic::TimeMs() const {
  const double ms = SoundTransportTimeMs(transport_);
  return static_cast<std::int32_t>(std::min(ms, 2147483647.0));
}
