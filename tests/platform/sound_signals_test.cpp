// The sound layer's arithmetic and files: the spectrum of 1024 samples (where a sine peaks, what it
// reads there, the clamp to 0 and 1), the resampler that brings music of any rate to the device's,
// the playing time the program reads (smoothed on the steady clock from the output's reports, never
// going back), and music files as the layer finds, decodes and refuses them through the face's
// offline half (the stream opens and decodes them the same way).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <fstream>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "platform/internal/sound_clock.h"
#include "platform/internal/sound_resampler.h"
#include "platform/sound.h"
#include "tests/platform/sound_files.h"
#include "tests/support/subprocess.h"

namespace {

std::vector<float> SpectrumOf(const std::vector<float>& samples) {
  std::vector<float> magnitudes(kSpectrumBins, -1.0f);
  AnalyseSpectrum(samples.data(), magnitudes.data());
  return magnitudes;
}

std::vector<float> Sine(double hz, double amplitude) {
  std::vector<float> samples(kSpectrumWindow);
  const double step = 2 * std::numbers::pi * hz / 44100;
  for (int n = 0; n < kSpectrumWindow; ++n) samples[n] = float(amplitude * std::sin(step * n));
  return samples;
}

// Bin k is k × 44100 / 1024 Hz; a sine on a bin reads its amplitude there, one between two bins a
// little less, and six bins away everything is under 0.01. Values are clamped to 0 and 1; a NaN gives 0.
TEST(SpectrumAnalysis, ASinePeaksInItsBinAndReadsItsAmplitudeThereAndValuesStayIn0To1) {
  const struct { double hz, amplitude; int bin; float low, high; } rows[] = {
      {1000.0, 1.0, 23, 0.8f, 1.0f}, {40 * 44100.0 / 1024, 1.0, 40, 0.999f, 1.0f},
      {300 * 44100.0 / 1024, 0.25, 300, 0.249f, 0.251f}};
  for (const auto& row : rows) {
    const std::vector<float> magnitudes = SpectrumOf(Sine(row.hz, row.amplitude));
    ASSERT_EQ(std::max_element(magnitudes.begin(), magnitudes.end()) - magnitudes.begin(), row.bin) << row.hz;
    EXPECT_TRUE(magnitudes[row.bin] >= row.low && magnitudes[row.bin] <= row.high) << row.hz;
    for (int k = 0; k < kSpectrumBins; ++k) ASSERT_TRUE(std::abs(k - row.bin) < 6 || magnitudes[k] < 0.01f) << k;
  }
  std::vector<float> square(kSpectrumWindow);
  for (int n = 0; n < kSpectrumWindow; ++n) square[n] = (n / 22) % 2 ? 1.0f : -1.0f;
  const std::vector<float> squareSpectrum = SpectrumOf(square);
  EXPECT_EQ(*std::max_element(squareSpectrum.begin(), squareSpectrum.end()), 1.0f);  // 4/pi, cut
  std::vector<float> broken = Sine(1000.0, 1.0);
  broken[500] = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(SpectrumOf(broken), std::vector<float>(kSpectrumBins, 0.0f));
  EXPECT_EQ(SpectrumOf(std::vector<float>(kSpectrumWindow, 0.0f)), std::vector<float>(kSpectrumBins, 0.0f));
}

// A stereo ramp (left: the frame number, right: its negation): output frame n lies on it at input
// frame n × from / to, and blocks of 1 to 37 frames give what one whole block gives.
TEST(StereoResampler, InterpolatesOnTheRateRatioWhateverTheBlocks) {
  std::vector<float> input;
  for (int i = 0; i < 1000; ++i) input.insert(input.end(), {float(i), -float(i)});
  for (const auto& [from, to] : {std::pair{22050, 44100}, std::pair{48000, 44100}, std::pair{8000, 44100}}) {
    StereoResampler whole(from, to), pieces(from, to);
    std::vector<float> expected, output;
    whole.Convert(input.data(), 1000, expected);
    for (std::size_t at = 0, size = 1; at < 1000; at += size, size = size % 37 + 1) {
      pieces.Convert(input.data() + 2 * at, std::min<std::size_t>(size, 1000 - at), output);
    }
    ASSERT_EQ(output.size(), expected.size()) << from;
    EXPECT_NEAR(double(output.size() / 2), 999.0 * to / from, 1.0) << from;
    for (std::size_t n = 0; n < output.size() / 2; ++n) {
      ASSERT_NEAR(output[2 * n], double(n) * from / to, 1e-3) << from << ", frame " << n;
      ASSERT_TRUE(output[2 * n + 1] == -output[2 * n] && std::abs(expected[2 * n] - output[2 * n]) < 1e-3) << n;
    }
  }
}

PlaybackClock::Time At(double ms) {
  return PlaybackClock::Time{} + std::chrono::microseconds(static_cast<std::int64_t>(ms * 1000.0));
}

// Zero before the start (reports then are ignored), then the steady clock; a report slower than the
// clock lowers the rate but no read goes back; a stall holds the time, a leap is caught up at once.
TEST(PlaybackClock, RunsOnTheSteadyClockHoldsAStallAndCatchesUpALeap) {
  PlaybackClock clock;
  EXPECT_EQ(clock.Read(At(500)), 0.0);
  clock.Observe(300, At(600));
  clock.Start(At(1000));
  EXPECT_DOUBLE_EQ(clock.Read(At(1000)), 0.0);
  EXPECT_DOUBLE_EQ(clock.Read(At(1004.2)), 4.2);
  const double early = clock.Read(At(1050));
  clock.Observe(40, At(1051));
  EXPECT_GE(clock.Read(At(1049)), early);
  for (double now = 1100; now <= 1500; now += 10) clock.Observe(100, At(now));  // stalled at 100 ms
  const double held = clock.Read(At(1500));
  EXPECT_TRUE(held < 260.0 && clock.Read(At(1550)) >= held && clock.Read(At(1550)) < 265.0) << held;
  clock.Observe(2000, At(1600));
  EXPECT_NEAR(clock.Read(At(1600)), 2000.0, 0.001);
  EXPECT_NEAR(clock.Read(At(1700)), 2100.0, 0.001);
}

// An output that hears exactly the truth but reports it only every 23 ms, late by up to 3 ms, while
// the program reads at 240 Hz: every read is new, none goes back, and all stay on the truth.
TEST(PlaybackClock, JitteryReportsGiveASmoothMonotoneTimeThatStaysOnTheTruth) {
  PlaybackClock clock;
  clock.Start(At(0));
  std::mt19937 random(7);
  std::uniform_real_distribution<double> lateness(0.0, 3.0);
  double nextReport = 23.0, previous = 0.0;
  for (double now = 1000.0 / 240.0; now < 10000.0; now += 1000.0 / 240.0) {
    for (; nextReport <= now; nextReport += 23.0) clock.Observe(nextReport, At(nextReport + lateness(random)));
    const double time = clock.Read(At(now));
    ASSERT_TRUE(time > previous && time - previous < 6.0) << now;
    ASSERT_NEAR(time, now, 8.0);
    previous = time;
  }
}

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
  // The fault matrix holds the messages the demo reports (3, 9, 10, 11) in its own runs.
  const std::pair<std::int32_t, const char*> rows[] = {
      {0, "No errors"}, {1, "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first"},
      {6, "Soundcard does not support the features needed for this soundsystem (16bit stereo output)"},
      {18, "Required Mediaplayer codec is not installed"}, {19, "Unknown error"}, {42, "Unknown error"},
      {-1, "Unknown error"}, {INT_MAX, "Unknown error"}};
  for (const auto& [code, text] : rows) EXPECT_STREQ(SoundErrorText(code), text) << code;
}

}  // namespace
