// The music through the sound layer: its length and the spectrum the tile-wall scenes read.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/sound.h"
#include "tests/assets/content_files.h"

namespace {

const std::string kMusic = DemoFile("kelvane.ogg");

// The whole piece as the mono mix the spectrum looks at.
std::vector<float> MonoMix() {
  const SoundFileInfo info = SoundInspectFile(kMusic.c_str(), 0);
  EXPECT_EQ(std::pair(info.error, info.rate), std::pair(kSoundNoError, 44100));
  const std::vector<float> stereo = SoundDecodeAsStreamed(kMusic.c_str(), 0, info.rate, info.frames);
  std::vector<float> mono;
  for (std::size_t i = 0; i < stereo.size() / 2; ++i) mono.push_back((stereo[2 * i] + stereo[2 * i + 1]) / 2.0f);
  return mono;
}

// Spectrum value `bin` as the live spectrum reads it at time `ms`: the 1024 frames before it.
float BinAt(const std::vector<float>& mono, double ms, int bin) {
  const std::int64_t end = static_cast<std::int64_t>(ms * 44100 / 1000.0);
  std::vector<float> window(kSpectrumWindow, 0.0f), magnitudes(kSpectrumBins);
  for (std::int64_t i = 0, frame = end - kSpectrumWindow; i < kSpectrumWindow; ++i, ++frame) {
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

// A piece of 99990 ms at 44100 Hz through the stream the demo opens, loud but never clipping.
TEST(Music, OpensAt99990MillisecondsAndNeverClips) {
  SoundSetOutput(SoundOutputKind::Silent);
  ASSERT_TRUE(SoundInit(44100));
  SoundStream* stream = SoundStreamOpen(kMusic.c_str(), 0);
  ASSERT_NE(stream, nullptr) << "error " << SoundLastError();
  EXPECT_NEAR(SoundStreamLengthMs(stream), 99990, 5);
  SoundStreamClose(stream);
  SoundClose();
  float peak = 0.0f;
  for (float v : MonoMix()) peak = std::max(peak, std::abs(v));
  EXPECT_TRUE(peak > 0.3f && peak < 1.0f) << peak;
}

// Hi-hats from bar 2 (beat 8) to the end of bar 43 on beats at 481.25 b - 200 ms, then at 481 n - 200 ms
// from 84937 ms in the fast section, the last two in the fade-out: both bins peak on every one. The
// walls pulse: in the slow section the level falls well below the peak before the next hit, and both
// bins are quiet before the first hi-hat.
TEST(Music, HiHatsPeakOnEveryBeatInBothBinsAndFallBetweenTheHits) {
  const std::vector<float> mono = MonoMix();
  std::vector<double> beats;
  for (int beat = 8; beat < 176; ++beat) beats.push_back(481.25 * beat - 200.0);
  for (int n = 177; n <= 206; ++n) beats.push_back(481.0 * n - 200.0);
  for (int bin : {110, 170}) {
    for (double ms : beats) {
      const float peak = PeakAfter(mono, ms, bin);
      EXPECT_TRUE(peak >= 0.05f && peak <= 0.3f) << "bin " << bin << " at " << ms << " ms: " << peak;
    }
    for (int beat = 60; beat < 100; ++beat) {
      const double ms = 481.25 * beat - 200.0;
      EXPECT_LT(BinAt(mono, ms + 235.0, bin) * 2.0f, PeakAfter(mono, ms, bin)) << "bin " << bin << " beat " << beat;
    }
    for (double ms = 30.0; ms < 3600.0; ms += 50.0) EXPECT_LT(BinAt(mono, ms, bin), 0.05f) << bin << " at " << ms;
  }
}

}  // namespace
