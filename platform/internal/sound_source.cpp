#include "platform/internal/sound_source.h"

#include <sndfile.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/sound.h"

namespace {

using Window = SoundSource::Window;

sf_count_t WindowLength(void* data) { return static_cast<Window*>(data)->length; }

sf_count_t WindowTell(void* data) {
  const Window& window = *static_cast<Window*>(data);
  return ftello(window.file) - window.base;
}

sf_count_t WindowSeek(sf_count_t offset, int whence, void* data) {
  const Window& window = *static_cast<Window*>(data);
  sf_count_t target = offset;
  if (whence == SEEK_CUR) target += WindowTell(data);
  if (whence == SEEK_END) target += window.length;
  if (target < 0 || fseeko(window.file, static_cast<off_t>(window.base + target), SEEK_SET) != 0) return -1;
  return target;
}

sf_count_t WindowRead(void* destination, sf_count_t count, void* data) {
  const Window& window = *static_cast<Window*>(data);
  return static_cast<sf_count_t>(std::fread(destination, 1, static_cast<std::size_t>(count), window.file));
}

sf_count_t WindowWrite(const void*, sf_count_t, void*) { return 0; }

SF_VIRTUAL_IO windowIo = {WindowLength, WindowSeek, WindowRead, WindowWrite, WindowTell};

std::int32_t OpenErrorFromErrno(int error) {
  return error == ENOENT || error == ENOTDIR ? kSoundFileNotFound : kSoundFileLoadFailed;
}

std::int32_t DecoderErrorCode(int sndfileError) {
  if (sndfileError == SF_ERR_UNRECOGNISED_FORMAT || sndfileError == SF_ERR_UNSUPPORTED_ENCODING) {
    return kSoundUnknownFormat;
  }
  return kSoundFileLoadFailed;
}

std::int64_t FileSize(std::FILE* file) {
  struct stat info {};
  if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return info.st_size;
}

}  // namespace

std::unique_ptr<SoundSource> SoundSource::Open(const char* path, std::int32_t byteOffset, std::int32_t& error) {
  if (byteOffset < 0) {
    error = kSoundInvalidParameter;
    return nullptr;
  }
  std::FILE* file = std::fopen(path ? path : "", "rb");
  if (!file) {
    error = OpenErrorFromErrno(errno);
    return nullptr;
  }
  std::unique_ptr<SoundSource> source(new SoundSource());
  const std::int64_t size = FileSize(file);
  source->window_ = {file, byteOffset, size - byteOffset};
  if (size < 0) {
    error = kSoundFileLoadFailed;
    return nullptr;
  }
  if (size <= byteOffset) {
    error = kSoundUnknownFormat;  // no music after the offset
    return nullptr;
  }
  std::fseek(file, byteOffset, SEEK_SET);

  SF_INFO info{};
  source->decoder_ = sf_open_virtual(&windowIo, SFM_READ, &info, &source->window_);
  if (!source->decoder_) {
    error = DecoderErrorCode(sf_error(nullptr));
    return nullptr;
  }
  if (info.samplerate <= 0 || info.channels <= 0 || info.frames <= 0) {
    error = kSoundFileLoadFailed;
    return nullptr;
  }
  source->rate_ = info.samplerate;
  source->channels_ = info.channels;
  source->frames_ = info.frames;
  error = kSoundNoError;
  return source;
}

SoundSource::~SoundSource() {
  if (decoder_) sf_close(decoder_);
  if (window_.file) std::fclose(window_.file);
}

std::int32_t SoundSource::LengthMs() const {
  const std::int64_t ms = frames_ * 1000 / rate_;
  return ms > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(ms);
}

std::size_t SoundSource::Read(float* stereo, std::size_t count) {
  const std::size_t channels = static_cast<std::size_t>(channels_);
  scratch_.resize(count * channels);
  const sf_count_t got = sf_readf_float(decoder_, scratch_.data(), static_cast<sf_count_t>(count));
  if (got <= 0) return 0;
  const std::size_t frames = static_cast<std::size_t>(got);
  const std::size_t right = channels > 1 ? 1 : 0;
  for (std::size_t i = 0; i < frames; ++i) {
    stereo[2 * i] = scratch_[i * channels];
    stereo[2 * i + 1] = scratch_[i * channels + right];
  }
  return frames;
}

bool SoundSource::Rewind() { return sf_seek(decoder_, 0, SEEK_SET) == 0; }
