// The music as a stream plays it: a source's frames converted to the mixing rate block by block,
// starting again from the first frame at the end of the music. The live stream and the offline
// decoding both go through this one loop, so frame n of the one is frame n of the other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/internal/sound_resampler.h"

class SoundSource;

class LoopingDecoder {
 public:
  // Source frames read per block: the steps of the conversion follow the block boundaries.
  static constexpr std::size_t kBlockFrames = 4096;

  LoopingDecoder(SoundSource& source, std::int32_t mixRate);

  // Decodes the next block and appends its frames at the mixing rate to `stereo` (interleaved; a
  // block may convert to no frame at all). False, appending nothing, once the music gives nothing
  // more: a file that gives nothing even from its start, or one that cannot seek back to it.
  bool AppendBlock(std::vector<float>& stereo);

 private:
  SoundSource& source_;
  StereoResampler resampler_;
  std::vector<float> decoded_;
  bool emptyPass_ = true;  // nothing decoded since the last rewind
};
