#include "platform/internal/sound_source.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/sound.h"
#include "tests/platform/sound_files.h"

namespace {

std::unique_ptr<SoundSource> OpenOrFail(const std::filesystem::path& path, std::int32_t offset = 0) {
  std::int32_t error = -1;
  std::unique_ptr<SoundSource> source = SoundSource::Open(path.c_str(), offset, error);
  EXPECT_EQ(error, kSoundNoError) << path;
  return source;
}

std::int32_t OpenError(const std::filesystem::path& path, std::int32_t offset = 0) {
  std::int32_t error = -1;
  EXPECT_EQ(SoundSource::Open(path.c_str(), offset, error), nullptr) << path;
  return error;
}

TEST(SoundSource, WavFlacOggVorbisAndMp3Open) {
  ScratchFolder folder;
  const std::pair<const char*, int> formats[] = {
      {"tone.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
      {"tone.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
      {"tone.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
      {"tone.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
  };
  for (const auto& [name, format] : formats) {
    WriteTone(folder / name, {.format = format, .seconds = 1.5, .amplitude = 0.5});
    std::unique_ptr<SoundSource> source = OpenOrFail(folder / name);
    ASSERT_NE(source, nullptr) << name;
    EXPECT_EQ(source->rate(), 44100) << name;
    EXPECT_NEAR(source->LengthMs(), 1500, 60) << name;  // an MP3's length is the decoder's estimate
    float frames[2 * 2048];
    std::size_t total = 0;
    float loudest = 0.0f;
    for (std::size_t got; (got = source->Read(frames, 2048)) > 0; total += got) {
      for (std::size_t i = 0; i < 2 * got; ++i) loudest = std::max(loudest, std::abs(frames[i]));
    }
    EXPECT_NEAR(static_cast<double>(total), 1.5 * 44100, 0.04 * 44100) << name;
    EXPECT_NEAR(loudest, 0.5f, 0.1f) << name;
  }
}

TEST(SoundSource, TheMusicMayStartAtAByteOffset) {
  ScratchFolder folder;
  WriteTone(folder / "music.flac", {.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16, .seconds = 0.5});
  const std::string junk(4321, 'J');
  {
    std::ofstream packed(folder / "packed.bin", std::ios::binary);
    std::ifstream music(folder / "music.flac", std::ios::binary);
    packed << junk << music.rdbuf();
  }
  std::unique_ptr<SoundSource> source = OpenOrFail(folder / "packed.bin", 4321);
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source->LengthMs(), 500);
  float frames[2 * 4096];
  std::size_t total = 0;
  for (std::size_t got; (got = source->Read(frames, 4096)) > 0;) total += got;
  EXPECT_EQ(total, 22050u);
  ASSERT_TRUE(source->Rewind());
  EXPECT_EQ(source->Read(frames, 4096), 4096u);

  EXPECT_EQ(OpenError(folder / "packed.bin", 0), kSoundUnknownFormat);      // junk first
  EXPECT_EQ(OpenError(folder / "packed.bin", 4322), kSoundUnknownFormat);   // one byte too far
  EXPECT_EQ(OpenError(folder / "packed.bin", 1 << 30), kSoundUnknownFormat);  // past the end
  EXPECT_EQ(OpenError(folder / "packed.bin", -1), kSoundInvalidParameter);
}

TEST(SoundSource, FilesThatCannotBePlayedSayWhy) {
  ScratchFolder folder;
  std::ofstream(folder / "notes.txt") << "This is a text file, not music.\n";
  std::ofstream(folder / "empty.wav");
  std::ofstream(folder / "cut.wav", std::ios::binary) << std::string("RIFF\x24\x00\x00\x00WAVEfmt ", 16);
  EXPECT_EQ(OpenError(folder / "missing.ogg"), kSoundFileNotFound);
  EXPECT_EQ(OpenError(folder / "no-folder" / "missing.ogg"), kSoundFileNotFound);
  EXPECT_EQ(OpenError(folder / "notes.txt"), kSoundUnknownFormat);
  EXPECT_EQ(OpenError(folder / "empty.wav"), kSoundUnknownFormat);
  EXPECT_EQ(OpenError(folder / "cut.wav"), kSoundFileLoadFailed);
  EXPECT_EQ(OpenError(folder / "."), kSoundFileLoadFailed);
}

}  // namespace
