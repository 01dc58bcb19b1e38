// The music synthesiser's parts: pitch and timing arithmetic, panning, the hi-hat's tuned partials
// and the Ogg serial rewrite that makes the file repeatable.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/sound.h"
#include "tools/make-music/music_writer.h"
#include "tools/make-music/ogg_serial.h"
#include "tools/make-music/voices.h"

namespace {

std::vector<std::uint8_t> Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t SerialAt(const std::vector<std::uint8_t>& bytes, std::size_t page) {
  return bytes[page + 14] | bytes[page + 15] << 8 | bytes[page + 16] << 16 | static_cast<std::uint32_t>(bytes[page + 17]) << 24;
}

TEST(Synth, PitchAndTime) {
  EXPECT_DOUBLE_EQ(NoteHz(69), 440.0);
  EXPECT_NEAR(NoteHz(57), 220.0, 1e-9);
  EXPECT_NEAR(BinHz(110), 4737.3046875, 1e-9);
  EXPECT_EQ(FrameAt(99990.0), 4409559);
  EXPECT_EQ(FrameAt(1000.0), 44100);
}

TEST(Synth, PanningKeepsTheMonoMix) {
  StereoBuffer buffer(3);
  buffer.Add(0, 0.5, -1.0);
  buffer.Add(1, 0.5, 0.3);
  buffer.Add(2, 0.5, 0.0);
  buffer.Add(3, 0.5, 0.0);  // past the end: dropped
  for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ((buffer.left(i) + buffer.right(i)) / 2.0, 0.5) << i;
  EXPECT_DOUBLE_EQ(buffer.right(0), 0.0);
}

// The spectrum the scenes read, taken 20 ms after a closed hi-hat starts.
std::vector<float> HatSpectrum(double level) {
  StereoBuffer buffer(FrameAt(100.0));
  HiHat(buffer, 0.0, level, false, 0.2);
  std::vector<float> mono(kSpectrumWindow), magnitudes(kSpectrumBins);
  const std::int64_t end = FrameAt(20.0) + kSpectrumWindow / 2;
  for (int i = 0; i < kSpectrumWindow; ++i) {
    const std::int64_t frame = end - kSpectrumWindow + i;
    mono[i] = frame < 0 ? 0.0f : static_cast<float>((buffer.left(frame) + buffer.right(frame)) / 2.0);
  }
  AnalyseSpectrum(mono.data(), magnitudes.data());
  return magnitudes;
}

TEST(Synth, HiHatPeaksOnBins110And170) {
  const std::vector<float> spectrum = HatSpectrum(0.3);
  EXPECT_GT(spectrum[110], 0.05f);
  EXPECT_LT(spectrum[110], 0.3f);
  EXPECT_GT(spectrum[170], 0.05f);
  for (int k : {60, 100, 125, 160, 190, 300}) {
    EXPECT_GT(spectrum[110], 4.0f * spectrum[k]) << k;
    EXPECT_GT(spectrum[170], 4.0f * spectrum[k]) << k;
  }
  EXPECT_NEAR(HatSpectrum(0.15)[110], spectrum[110] / 2.0f, spectrum[110] * 0.05f) << "level scales the peak";
}

class OggFiles : public ::testing::Test {
 protected:
  OggFiles() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-ogg-XXXXXX").string();
    folder = mkdtemp(pattern.data());
  }
  ~OggFiles() override { std::filesystem::remove_all(folder); }
  std::string Write(const std::string& name) {
    StereoBuffer tone(FrameAt(1500.0));
    for (std::int64_t i = 0; i < tone.frames(); ++i) tone.Add(i, 0.3 * std::sin(i * 0.05));
    std::string error;
    const std::string path = (folder / name).string();
    EXPECT_TRUE(WriteOggVorbis(path, tone, 0.4, error)) << error;
    return path;
  }
  std::filesystem::path folder;
};

TEST_F(OggFiles, FixedSerialMakesTwoWritesEqualAndTheFileStillDecodes) {
  const std::string a = Write("a.ogg"), b = Write("b.ogg");
  std::string error;
  ASSERT_TRUE(SetOggFileSerial(a, 0x12345678, error)) << error;
  ASSERT_TRUE(SetOggFileSerial(b, 0x12345678, error)) << error;
  const std::vector<std::uint8_t> bytes = Bytes(a);
  EXPECT_EQ(bytes, Bytes(b));
  EXPECT_EQ(SerialAt(bytes, 0), 0x12345678u);
  SF_INFO info{};
  SNDFILE* file = sf_open(a.c_str(), SFM_READ, &info);
  ASSERT_NE(file, nullptr) << "a page checksum is wrong";
  std::vector<float> frames(2 * 70000);
  EXPECT_EQ(sf_readf_float(file, frames.data(), 70000), FrameAt(1500.0)) << "every page kept";
  sf_close(file);
}

// A page header announcing one 30-byte segment, then `body` bytes of 7. (Made at its full size: GCC
// 12 at -O3 falsely warns of an out-of-bounds copy when a copied vector is grown with resize.)
std::vector<std::uint8_t> OggPage(std::size_t body) {
  const std::uint8_t header[] = {'O', 'g', 'g', 'S', 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 30};
  std::vector<std::uint8_t> page(sizeof header + body, 7);
  std::copy(std::begin(header), std::end(header), page.begin());
  return page;
}

TEST(OggSerial, RefusesWhatIsNotWholeOggPages) {
  std::vector<std::uint8_t> notOgg(64, 0x41);
  EXPECT_FALSE(SetOggSerial(notOgg, 1));
  std::vector<std::uint8_t> page = OggPage(30);
  EXPECT_TRUE(SetOggSerial(page, 5));
  EXPECT_EQ(SerialAt(page, 0), 5u);
  std::vector<std::uint8_t> cut = OggPage(10);
  EXPECT_FALSE(SetOggSerial(cut, 5)) << "the page's body is short";
}

TEST(OggSerial, ChecksumIsOggsCrc) {
  EXPECT_EQ(OggChecksum(nullptr, 0), 0u);
  const std::uint8_t one = 1;
  EXPECT_EQ(OggChecksum(&one, 1), 0x04C11DB7u);
}

}  // namespace
