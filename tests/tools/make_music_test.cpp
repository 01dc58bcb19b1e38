// The music synthesiser's parts: pitch and timing, panning, and the Ogg serial rewrite that makes the file
// repeatable. (tests/assets holds the hi-hats' peaks in bins 110 and 170 on every beat of the music.)
#include <gtest/gtest.h>
#include <sndfile.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/make-music/music_writer.h"
#include "tools/make-music/ogg_serial.h"
#include "tools/make-music/voices.h"

namespace {

std::uint32_t SerialAt(const std::vector<std::uint8_t>& bytes, std::size_t page) {
  return bytes[page + 14] | bytes[page + 15] << 8 | bytes[page + 16] << 16 | std::uint32_t(bytes[page + 17]) << 24;
}

// A4 is 440 Hz, bin k of the spectrum k × 44100 / 1024 Hz; times fall on the nearest frame.
TEST(Synth, PitchTimeAndPanning) {
  EXPECT_DOUBLE_EQ(NoteHz(69), 440.0);
  EXPECT_NEAR(NoteHz(57), 220.0, 1e-9);
  EXPECT_NEAR(BinHz(110), 4737.3046875, 1e-9);
  EXPECT_EQ(std::tuple(FrameAt(99990.0), FrameAt(1000.0), FrameAt(0.02)), std::tuple(4409559, 44100, 1));
  // Panning keeps the mono mix; frames past the end are dropped.
  StereoBuffer buffer(3);
  for (const auto& [frame, pan] : {std::pair{0, -1.0}, {1, 0.3}, {2, 0.0}, {3, 0.0}}) buffer.Add(frame, 0.5, pan);
  for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ((buffer.left(i) + buffer.right(i)) / 2.0, 0.5) << i;
  EXPECT_DOUBLE_EQ(buffer.right(0), 0.0);
}

// Two writes of the same music differ only in their random stream serial: with it fixed they are the
// same bytes, every page's checksum is right again (libsndfile opens the file) and every page is kept.
// A page header announcing one 30-byte segment, then `body` bytes of 7. (Made at its full size: GCC
// 12 at -O3 falsely warns of an out-of-bounds copy when a copied vector is grown with resize.)
std::vector<std::uint8_t> OggPage(std::size_t body) {
  const std::uint8_t header[] = {'O', 'g', 'g', 'S', 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 30};
  std::vector<std::uint8_t> page(sizeof header + body, 7);
  std::copy(std::begin(header), std::end(header), page.begin());
  return page;
}

TEST(OggSerial, AFixedSerialMakesTwoWritesEqualOnlyWholePagesAreRewrittenAndTheFileStillDecodes) {
  std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-ogg-XXXXXX").string();
  const std::filesystem::path folder = mkdtemp(pattern.data());
  StereoBuffer tone(FrameAt(1500.0));
  for (std::int64_t i = 0; i < tone.frames(); ++i) tone.Add(i, 0.3 * std::sin(i * 0.05));
  std::vector<std::uint8_t> bytes[2];
  for (int i = 0; i < 2; ++i) {
    std::string error, path = (folder / (std::to_string(i) + ".ogg")).string();
    ASSERT_TRUE(WriteOggVorbis(path, tone, 0.4, error) && SetOggFileSerial(path, 0x12345678, error)) << error;
    std::ifstream in(path, std::ios::binary);
    bytes[i].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  EXPECT_EQ(bytes[0], bytes[1]);
  EXPECT_EQ(SerialAt(bytes[0], 0), 0x12345678u);
  SF_INFO info{};
  SNDFILE* file = sf_open((folder / "0.ogg").c_str(), SFM_READ, &info);
  ASSERT_NE(file, nullptr) << "a page checksum is wrong";
  std::vector<float> frames(2 * 70000);
  EXPECT_EQ(sf_readf_float(file, frames.data(), 70000), FrameAt(1500.0)) << "every page kept";
  sf_close(file);
  std::filesystem::remove_all(folder);
  // Only whole Ogg pages are rewritten; the checksum is Ogg's CRC.
  std::vector<std::uint8_t> notOgg(64, 0x41);
  EXPECT_FALSE(SetOggSerial(notOgg, 1));
  std::vector<std::uint8_t> page = OggPage(30), cut = OggPage(10);
  EXPECT_TRUE(SetOggSerial(page, 5));
  EXPECT_EQ(SerialAt(page, 0), 5u);
  EXPECT_FALSE(SetOggSerial(cut, 5)) << "the page's body is short";
  const std::uint8_t one = 1;
  EXPECT_EQ(std::pair(OggChecksum(nullptr, 0), OggChecksum(&one, 1)), std::pair(0u, 0x04C11DB7u));
}

}  // namespace
