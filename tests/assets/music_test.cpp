// The music through the sound layer: its length and the spectrum the tile-wall scenes read.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/sound.h"
#include "tests/assets/content_files.h"

namespace {

const std::string kMusic = DemoFile("kelvane.ogg");
constexpr int kRate = 44100;

// The whole piece as the mono mix the spectrum looks at.
std::vector<float> MonoMix() {
  const SoundFileInfo info = SoundInspectFile(kMusic.c_str(), 0);
  EXPECT_EQ(info.error, kSoundNoError);
  const std::vector<float> stereo = SoundDecodeAsStreamed(kMusic.c_str(), 0, info.rate, info.frames);
  std::vector<float> mono;
  for (std::size_t i = 0; i < stereo.size() / 2; ++i) mono.push_back((stereo[2 * i] + stereo[2 * i + 1]) / 2.0f);
  return mono;
}

// Spectrum value `bin` as the live spectrum reads it at time `ms`: the 1024 frames before it.
float BinAt(const std::vector<float>& mono, double ms, int bin) {
  const std::int64_t end = static_cast<std::int64_t>(ms * kRate / 1000.0);
  std::vector<float> window(kSpectrumWindow, 0.0f), magnitudes(kSpectrumBins);
  for (int i = 0; i < kSpectrumWindow; ++i) {
    const std::int64_t frame = end - kSpectrumWindow + i;
    if (frame >= 0 && frame < static_cast<std::int64_t>(mono.size())) window[i] = mono[frame];
  }
  AnalyseSpectrum(window.data(), magnitudes.data());
  return magnitudes[bin];
}

// The largest value of `bin` over the 150 ms after `ms`.
float PeakAfter(const std::vector<float>& mono, double ms, int bin) {
  float peak = 0.0f;
  for (double t = ms; t <= ms + 150.0; t += 5.0) peak = std::max(peak, BinAt(mono, t, bin));
  return peak;
}

class Music : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { mono = new std::vector<float>(MonoMix()); }
  static void TearDownTestSuite() { delete mono; }
  static std::vector<float>* mono;
};
std::vector<float>* Music::mono = nullptr;

TEST(MusicStream, OpensThroughTheSoundLayerAt99990Milliseconds) {
  SoundSetOutput(SoundOutputKind::Silent);
  ASSERT_TRUE(SoundInit(44100));
  SoundStream* stream = SoundStreamOpen(kMusic.c_str(), 0);
  ASSERT_NE(stream, nullptr) << "error " << SoundLastError();
  EXPECT_NEAR(SoundStreamLengthMs(stream), 99990, 5);
  SoundStreamClose(stream);
  SoundClose();
}

TEST_F(Music, IsStereoAt44100HzAndNeverClips) {
  EXPECT_EQ(SoundInspectFile(kMusic.c_str(), 0).rate, kRate);
  float peak = 0.0f;
  for (float v : *mono) peak = std::max(peak, std::abs(v));
  EXPECT_LT(peak, 1.0f);
  EXPECT_GT(peak, 0.3f) << "a piece, not silence";
}

// Beats at 481.25 b - 200 ms in the slow section, hi-hats from bar 2 (beat 8) to the end of bar 43;
// at 481 n - 200 ms from 84937 ms in the fast section, the last two in the fade-out.
TEST_F(Music, HiHatsPeakOnEveryBeatInBothBins) {
  std::vector<double> beats;
  for (int beat = 8; beat < 176; ++beat) beats.push_back(481.25 * beat - 200.0);
  for (int n = 177; n <= 206; ++n) beats.push_back(481.0 * n - 200.0);
  for (int bin : {110, 170}) {
    for (double ms : beats) {
      const float peak = PeakAfter(*mono, ms, bin);
      EXPECT_TRUE(peak >= 0.05f && peak <= 0.3f) << "bin " << bin << " at " << ms << " ms: " << peak;
    }
  }
}

// The walls pulse: in the slow section the level falls well below the peak before the next hit.
TEST_F(Music, BinsFallBetweenTheHits) {
  for (int bin : {110, 170})
    for (int beat = 60; beat < 100; ++beat) {
      const double ms = 481.25 * beat - 200.0;
      EXPECT_LT(BinAt(*mono, ms + 235.0, bin) * 2.0f, PeakAfter(*mono, ms, bin)) << "bin " << bin << " beat " << beat;
    }
}

TEST_F(Music, BinsAreQuietBeforeTheFirstHiHat) {
  for (double ms = 30.0; ms < 3600.0; ms += 50.0) {
    EXPECT_LT(BinAt(*mono, ms, 110), 0.05f) << ms;
    EXPECT_LT(BinAt(*mono, ms, 170), 0.05f) << ms;
  }
}

}  // namespace
