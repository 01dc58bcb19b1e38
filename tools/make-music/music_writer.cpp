#include "tools/make-music/music_writer.h"

#include <sndfile.h>

#include <algorithm>
#include <vector>

namespace {

constexpr std::int64_t kChunkFrames = 65536;

bool Write(const std::string& path, const StereoBuffer& music, int format, const double* quality, std::string& error) {
  SF_INFO info{};
  info.samplerate = kSampleRate;
  info.channels = 2;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) {
    error = path + ": " + sf_strerror(nullptr);
    return false;
  }
  if (quality) {
    double value = *quality;
    sf_command(file, SFC_SET_VBR_ENCODING_QUALITY, &value, sizeof value);
  }
  std::vector<float> chunk(2 * kChunkFrames);
  bool ok = true;
  for (std::int64_t start = 0; ok && start < music.frames(); start += kChunkFrames) {
    const std::int64_t count = std::min(kChunkFrames, music.frames() - start);
    for (std::int64_t i = 0; i < count; ++i) {
      chunk[2 * i] = static_cast<float>(music.left(start + i));
      chunk[2 * i + 1] = static_cast<float>(music.right(start + i));
    }
    ok = sf_writef_float(file, chunk.data(), count) == count;
  }
  if (!ok) error = path + ": " + sf_strerror(file);
  if (sf_close(file) != 0 && ok) {
    error = path + ": cannot finish the file";
    ok = false;
  }
  return ok;
}

}  // namespace

bool WriteOggVorbis(const std::string& path, const StereoBuffer& music, double quality, std::string& error) {
  return Write(path, music, SF_FORMAT_OGG | SF_FORMAT_VORBIS, &quality, error);
}

bool WriteWav(const std::string& path, const StereoBuffer& music, std::string& error) {
  return Write(path, music, SF_FORMAT_WAV | SF_FORMAT_PCM_16, nullptr, error);
}
