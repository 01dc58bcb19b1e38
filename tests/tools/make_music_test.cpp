// The music synthesiser's parts: pitch and timing, panning, and the Ogg serial rewrite that makes the file
// repeatable. (tests/assets holds the hi-hats' peaks in bins 110 and 170 on every beat of the music.)
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

#include "tests/support/subprocess.h"
#include "tools/make-music/music_writer.h"
#include "tools/make-music/ogg_serial.h"
#include "tools/make-music/voices.h"

namespace {

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

template <class Bytes>
std::uint32_t FirstPageSerial(const Bytes& b) {
  const auto byte = [&](std::size_t i) -> std::uint32_t { return std::uint8_t(b[i]); };
  return byte(14) | byte(15) << 8 | byte(16) << 16 | byte(17) << 24;
}

// A page header announcing one 30-byte segment, then `body` bytes of 7. (Made at its full size: GCC
// 12 at -O3 falsely warns of an out-of-bounds copy when a copied vector is grown with resize.)
std::vector<std::uint8_t> OggPage(std::size_t body) {
  const std::uint8_t header[] = {'O', 'g', 'g', 'S', 0, 2, 0, 0, 0, 0, 0, 0, 0, 0,
                                 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 30};
  std::vector<std::uint8_t> page(sizeof header + body, 7);
  std::copy(std::begin(header), std::end(header), page.begin());
  return page;
}

// Two writes of the same music differ only in their random stream serial: with it fixed they are the
// same bytes, every page's checksum is right again (libsndfile opens the file) and every page is kept.
TEST(OggSerial, AFixedSerialMakesTwoWritesEqualOnlyWholePagesAreRewrittenAndTheFileStillDecodes) {
  TempFolder folder;
  StereoBuffer tone(FrameAt(1500.0));
  for (std::int64_t i = 0; i < tone.frames(); ++i) tone.Add(i, 0.3 * std::sin(i * 0.05));
  for (const char* name : {"0.ogg", "1.ogg"}) {
    std::string error;
    const std::string path = folder.File(name);
    ASSERT_TRUE(WriteOggVorbis(path, tone, 0.4, error) && SetOggFileSerial(path, 0x12345678, error)) << error;
  }
  const std::string bytes = ReadWholeFile(folder.File("0.ogg"));
  EXPECT_EQ(bytes, ReadWholeFile(folder.File("1.ogg")));
  EXPECT_EQ(FirstPageSerial(bytes), 0x12345678u);
  SF_INFO info{};
  SNDFILE* file = sf_open(folder.File("0.ogg").c_str(), SFM_READ, &info);
  ASSERT_NE(file, nullptr) << "a page checksum is wrong";
  std::vector<float> frames(2 * 70000);
  EXPECT_EQ(sf_readf_float(file, frames.data(), 70000), FrameAt(1500.0)) << "every page kept";
  sf_close(file);
  // Only whole Ogg pages are rewritten; the checksum is Ogg's CRC.
  std::vector<std::uint8_t> notOgg(64, 0x41), page = OggPage(30), cut = OggPage(10);
  EXPECT_FALSE(SetOggSerial(notOgg, 1));
  EXPECT_TRUE(SetOggSerial(page, 5));
  EXPECT_EQ(FirstPageSerial(page), 5u);
  EXPECT_FALSE(SetOggSerial(cut, 5)) << "the page's body is short";
  const std::uint8_t one = 1;
  EXPECT_EQ(std::pair(OggChecksum(nullptr, 0), OggChecksum(&one, 1)), std::pair(0u, 0x04C11DB7u));
}

}  // namespace
