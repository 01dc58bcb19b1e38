// Music files as the sound layer finds them, decodes them and refuses them, through the face's
// offline half (the stream opens and decodes them the same way).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>

#include "platform/sound.h"
#include "tests/platform/sound_files.h"
#include "tests/support/subprocess.h"

namespace {

TEST(SoundDecoding, WavFlacOggVorbisAndMp3Decode) {
  TempFolder folder;
  for (const auto& [name, format] : {std::pair{"tone.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
                                     {"tone.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
                                     {"tone.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
                                     {"tone.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III}}) {
    const std::string path = folder.File(name);
    WriteTone(path, {.format = format, .seconds = 1.5, .amplitude = 0.5});
    const SoundFileInfo info = SoundInspectFile(path.c_str(), 0);
    ASSERT_EQ(std::pair(info.error, info.rate), std::pair(kSoundNoError, 44100)) << name;
    EXPECT_NEAR(info.lengthMs, 1500, 60) << name;  // an MP3's length is the decoder's estimate
    EXPECT_NEAR(double(info.frames), 1.5 * 44100, 0.04 * 44100) << name;
    const std::vector<float> stereo = SoundDecodeAsStreamed(path.c_str(), 0, 44100, info.frames);
    EXPECT_NEAR(*std::max_element(stereo.begin(), stereo.end()), 0.5f, 0.1f) << name;
  }
}

// 4321 bytes of something else, then 11022 frames of mono music at 22050 Hz (499.9 ms): its length is
// truncated to 499 ms, it is doubled to stereo and loops back to its start.
TEST(SoundDecoding, MusicAtAByteOffsetIsMeasuredDoubledToStereoAndLoops) {
  TempFolder folder;
  WriteTone(folder.File("music.flac"),
            {.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16, .rate = 22050, .channels = 1, .seconds = 0.4999});
  std::ofstream(folder.File("packed.bin"), std::ios::binary)
      << std::string(4321, 'J') << std::ifstream(folder.File("music.flac"), std::ios::binary).rdbuf();
  std::ofstream(folder.File("notes.txt")) << "This is a text file, not music.\n";
  std::ofstream(folder.File("empty.wav"));
  std::ofstream(folder.File("cut.wav"), std::ios::binary) << std::string("RIFF\x24\x00\x00\x00WAVEfmt ", 16);
  const std::string packed = folder.File("packed.bin");
  const SoundFileInfo info = SoundInspectFile(packed.c_str(), 4321);
  EXPECT_EQ(std::tuple(info.error, info.frames, info.lengthMs), std::tuple(kSoundNoError, 11022, 499));
  const std::vector<float> stereo = SoundDecodeAsStreamed(packed.c_str(), 4321, 22050, 11022 + 5000);
  ASSERT_EQ(stereo.size(), 2u * (11022 + 5000));
  EXPECT_TRUE(std::equal(stereo.begin() + 2 * 11022, stereo.end(), stereo.begin()));
  for (std::size_t i = 0; i < stereo.size(); i += 2) ASSERT_EQ(stereo[i + 1], stereo[i]) << "frame " << i / 2;
  // Files that cannot be played say why, and decode to nothing.
  const std::tuple<const char*, std::int32_t, std::int32_t> rows[] = {
      {"missing.ogg", 0, kSoundFileNotFound},      {"no-folder/missing.ogg", 0, kSoundFileNotFound},
      {"notes.txt/x.ogg", 0, kSoundFileNotFound},  {"notes.txt", 0, kSoundUnknownFormat},
      {"empty.wav", 0, kSoundUnknownFormat},       {"cut.wav", 0, kSoundFileLoadFailed},
      {".", 0, kSoundFileLoadFailed},              {"packed.bin", 0, kSoundUnknownFormat},  // junk first
      {"packed.bin", 4322, kSoundUnknownFormat},   // one byte too far
      {"packed.bin", 1 << 30, kSoundUnknownFormat}, {"packed.bin", -1, kSoundInvalidParameter}};
  for (const auto& [name, offset, error] : rows) {
    const std::string path = folder.File(name);
    EXPECT_EQ(SoundInspectFile(path.c_str(), offset).error, error) << name << " at " << offset;
    EXPECT_TRUE(SoundDecodeAsStreamed(path.c_str(), offset, 44100, 100).empty()) << name;
  }
}

TEST(SoundErrorText, GivesTheTableAndUnknownErrorOtherwise) {
  const std::pair<std::int32_t, const char*> rows[] = {
      {0, "No errors"}, {1, "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first"},
      {3, "Error initializing output device"},
      {6, "Soundcard does not support the features needed for this soundsystem (16bit stereo output)"},
      {9, "File not found"}, {10, "Unknown file format"}, {11, "Error loading file"},
      {18, "Required Mediaplayer codec is not installed"},
      {19, "Unknown error"}, {42, "Unknown error"}, {-1, "Unknown error"}, {INT_MAX, "Unknown error"}};
  for (const auto& [code, text] : rows) EXPECT_STREQ(SoundErrorText(code), text) << code;
}

}  // namespace
