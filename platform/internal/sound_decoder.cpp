#include "platform/internal/sound_decoder.h"

#include "platform/internal/sound_source.h"

LoopingDecoder::LoopingDecoder(SoundSource& source, std::int32_t mixRate)
    : source_(source), resampler_(source.rate(), mixRate), decoded_(2 * kBlockFrames) {}

bool LoopingDecoder::AppendBlock(std::vector<float>& stereo) {
  for (;;) {
    const std::size_t got = source_.Read(decoded_.data(), kBlockFrames);
    if (got > 0) {
      emptyPass_ = false;
      resampler_.Convert(decoded_.data(), got, stereo);
      return true;
    }
    if (emptyPass_ || !source_.Rewind()) return false;
    emptyPass_ = true;
  }
}
