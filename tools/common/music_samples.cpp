#include "tools/common/music_samples.h"

#include <algorithm>

#include "base/diagnostics.h"
#include "platform/sound.h"
#include "sequencing/sequencing.h"

std::int64_t StreamFrameAtTime(std::int32_t timeMs) {
  const std::int64_t product = std::int64_t(timeMs) * kMusicMixRate;
  return product >= 0 ? product / 1000 : -((-product + 999) / 1000);
}

void MusicSamples::MonoWindowEndingAt(std::int64_t endFrame, float* samples) const {
  const std::int64_t known = frames();
  for (std::int32_t i = 0; i < kSpectrumWindow; ++i) {
    const std::int64_t frame = endFrame - kSpectrumWindow + i;
    const bool inside = frame >= 0 && frame < known;
    const std::size_t at = std::size_t(frame) * 2;
    samples[i] = inside ? 0.5f * (stereo_[at] + stereo_[at + 1]) : 0.0f;
  }
}

void MusicSamples::SpectrumAt(std::int32_t timeMs, float* magnitudes) const {
  float samples[kSpectrumWindow];
  MonoWindowEndingAt(StreamFrameAtTime(timeMs), samples);
  AnalyseSpectrum(samples, magnitudes);
}

std::vector<float> MusicSamples::StereoFrames(std::int64_t first, std::int64_t count) const {
  std::vector<float> out(std::size_t(std::max<std::int64_t>(count, 0)) * 2, 0.0f);
  const std::int64_t begin = std::max<std::int64_t>(first, 0);
  const std::int64_t end = std::min(first + count, frames());
  for (std::int64_t frame = begin; frame < end; ++frame) {
    const std::size_t to = std::size_t(frame - first) * 2;
    out[to] = stereo_[std::size_t(frame) * 2];
    out[to + 1] = stereo_[std::size_t(frame) * 2 + 1];
  }
  return out;
}

MusicFile InspectMusic(const std::string& path, std::int32_t byteOffset) {
  const SoundFileInfo info = SoundInspectFile(path.c_str(), byteOffset);
  return {info.lengthMs, info.error};
}

MusicSamples DecodeMusic(const std::string& path, std::int32_t byteOffset, std::int64_t frames) {
  return MusicSamples(SoundDecodeAsStreamed(path.c_str(), byteOffset, kMusicMixRate, frames));
}

// The script's music length, or the file's own when the script says 0, as the live start-up sets it;
// a music file that cannot be read is the sound library's fatal error, as live.
void SettleMusicLength() {
  if (!musicFile) return;
  const MusicFile file = InspectMusic(*musicFile, musicOffset);
  if (file.error != kSoundNoError) FatalError("FMOD", SoundErrorText(file.error));
  if (musicLength == 0) musicLength = file.lengthMs;
}
