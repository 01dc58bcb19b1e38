#include "tools/kelvane-render/music_samples.h"

#include <algorithm>
#include <memory>

#include "platform/sound_resampler.h"
#include "platform/sound_source.h"
#include "platform/sound_analysis.h"

namespace {

// The live stream's decoding block; the converter's steps follow the block boundaries.
constexpr std::size_t kDecodeBlockFrames = 4096;

// Appends converted frames until `stereo` holds `frames` frames or the music gives nothing more.
void DecodeLooping(SoundSource& source, std::int64_t frames, std::vector<float>& stereo) {
  StereoResampler resampler(source.rate(), kMusicMixRate);
  std::vector<float> decoded(2 * kDecodeBlockFrames);
  const std::size_t wanted = std::size_t(frames) * 2;
  bool emptyPass = true;  // nothing decoded since the last rewind
  while (stereo.size() < wanted) {
    const std::size_t got = source.Read(decoded.data(), kDecodeBlockFrames);
    if (got == 0) {
      if (emptyPass || !source.Rewind()) return;
      emptyPass = true;
      continue;
    }
    emptyPass = false;
    resampler.Convert(decoded.data(), got, stereo);
  }
}

}  // namespace

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
  MusicFile file;
  const std::unique_ptr<SoundSource> source = SoundSource::Open(path.c_str(), byteOffset, file.error);
  if (source) file.lengthMs = source->LengthMs();
  return file;
}

MusicSamples DecodeMusic(const std::string& path, std::int32_t byteOffset, std::int64_t frames) {
  std::int32_t error = 0;
  std::vector<float> stereo;
  const std::unique_ptr<SoundSource> source = SoundSource::Open(path.c_str(), byteOffset, error);
  if (source && frames > 0) {
    stereo.reserve(std::size_t(frames) * 2 + 2 * kDecodeBlockFrames * 2);
    DecodeLooping(*source, frames, stereo);
    stereo.resize(std::min(stereo.size(), std::size_t(frames) * 2));
  }
  return MusicSamples(std::move(stereo));
}
