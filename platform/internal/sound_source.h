// A music file opened for decoding: WAV, FLAC, Ogg Vorbis, MP3 and whatever else libsndfile reads.
//
// The music may start `byteOffset` bytes into the file (0: the whole file is the music); everything
// before that point is invisible to the decoder. Frames come out as interleaved stereo floats at the
// file's own rate: a mono file is doubled, a file with more channels gives its first two.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

struct sf_private_tag;  // libsndfile's SNDFILE

class SoundSource {
 public:
  // The opened file, or nothing with `error` set: 9 no such file, 10 not a format that can be
  // decoded, 11 anything else that keeps it from being read, 14 a negative offset.
  static std::unique_ptr<SoundSource> Open(const char* path, std::int32_t byteOffset, std::int32_t& error);
  ~SoundSource();
  SoundSource(const SoundSource&) = delete;
  SoundSource& operator=(const SoundSource&) = delete;

  std::int32_t rate() const { return rate_; }
  std::int64_t frames() const { return frames_; }
  std::int32_t LengthMs() const;

  // Up to `count` stereo frames into `stereo`; 0 at the end of the music (or on a read error).
  std::size_t Read(float* stereo, std::size_t count);
  // Back to the first frame; false when the file cannot seek.
  bool Rewind();

  // The file seen from the offset on, for libsndfile's virtual I/O.
  struct Window {
    std::FILE* file;
    std::int64_t base;
    std::int64_t length;
  };

 private:
  SoundSource() = default;

  Window window_{};
  sf_private_tag* decoder_ = nullptr;
  std::int32_t rate_ = 0;
  std::int32_t channels_ = 0;
  std::int64_t frames_ = 0;
  std::vector<float> scratch_;
};
