// The face's offline half: the stream's decoding without an output or a clock.
#include "platform/sound.h"

#include <algorithm>
#include <memory>

#include "platform/internal/sound_decoder.h"
#include "platform/internal/sound_source.h"

SoundFileInfo SoundInspectFile(const char* file, std::int32_t byteOffset) {
  SoundFileInfo info;
  const std::unique_ptr<SoundSource> source = SoundSource::Open(file, byteOffset, info.error);
  if (source) {
    info.rate = source->rate();
    info.frames = source->frames();
    info.lengthMs = source->LengthMs();
  }
  return info;
}

std::vector<float> SoundDecodeAsStreamed(const char* file, std::int32_t byteOffset, std::int32_t mixRate,
                                         std::int64_t frames) {
  std::vector<float> stereo;
  std::int32_t error = kSoundNoError;
  const std::unique_ptr<SoundSource> source = SoundSource::Open(file, byteOffset, error);
  if (!source || frames <= 0) return stereo;
  const std::size_t wanted = static_cast<std::size_t>(frames) * 2;
  stereo.reserve(wanted + 4 * LoopingDecoder::kBlockFrames);  // the last block runs over
  LoopingDecoder decoder(*source, mixRate);
  while (stereo.size() < wanted && decoder.AppendBlock(stereo)) {
  }
  stereo.resize(std::min(stereo.size(), wanted));
  return stereo;
}
