// The sound layer playing in real time. Most run on the silent output; the device tests use SDL's
// "disk" driver (a file at the device's pace) and a device that does not exist.
#include "platform/sound.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

#include "tests/platform/sound_files.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

std::vector<float> Spectrum() {
  const float* values = SoundSpectrum();
  return std::vector<float>(values, values + 512);
}

std::int32_t PeakBin(const std::vector<float>& values) {
  return static_cast<std::int32_t>(std::max_element(values.begin(), values.end()) - values.begin());
}

float LargestFarFrom(const std::vector<float>& values, std::int32_t bin, std::int32_t distance) {
  float largest = 0.0f;
  for (std::int32_t k = 0; k < 512; ++k) {
    if (std::abs(k - bin) >= distance) largest = std::max(largest, values[static_cast<std::size_t>(k)]);
  }
  return largest;
}

class Playback : public ::testing::Test {
 protected:
  void TearDown() override {
    SoundStreamClose(stream);
    SoundClose();
    SoundSetSpectrumActive(false);
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
    unsetenv("AUDIODEV");
  }

  // Initialises the layer on `output`, then opens and plays `tone` from a fresh file.
  void Play(const ToneFile& tone, SoundOutputKind output = SoundOutputKind::Silent) {
    WriteTone(folder / "tone.wav", tone);
    SoundSetOutput(output);
    ASSERT_TRUE(SoundInit(44100)) << SoundErrorText(SoundLastError());
    SoundSetStreamBufferMs(800);
    stream = SoundStreamOpen((folder / "tone.wav").c_str(), 0);
    ASSERT_NE(stream, nullptr) << SoundErrorText(SoundLastError());
    ASSERT_EQ(SoundStreamPlay(stream), 0);
  }

  ScratchFolder folder;
  SoundStream* stream = nullptr;
};

TEST_F(Playback, TheSilentClockStartsAtZeroNeverGoesBackAndRunsAtTheRightRate) {
  Play({.seconds = 3.0, .amplitude = 0.2});
  const Clock::time_point started = Clock::now();
  const std::int32_t first = SoundStreamTimeMs(stream);
  EXPECT_GE(first, 0);
  EXPECT_LT(first, 50);
  std::int32_t previous = first;
  while (Clock::now() - started < 2s) {
    const std::int32_t time = SoundStreamTimeMs(stream);
    ASSERT_GE(time, previous);
    previous = time;
    std::this_thread::sleep_for(2ms);
  }
  const double wallMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
  const std::int32_t last = SoundStreamTimeMs(stream);
  EXPECT_NEAR(last, 2000, 150);
  EXPECT_NEAR(last, wallMs, 60);
}

TEST_F(Playback, TheSpectrumShowsWhatIsHeard) {
  Play({.seconds = 2.0});
  EXPECT_EQ(Spectrum(), std::vector<float>(512, 0.0f));  // off until switched on
  SoundSetSpectrumActive(true);
  std::this_thread::sleep_for(150ms);
  const std::vector<float> values = Spectrum();
  ASSERT_EQ(PeakBin(values), 23);
  EXPECT_GT(values[23], 0.8f);
  EXPECT_LT(values[23], 1.1f);
  EXPECT_LT(LargestFarFrom(values, 23, 6), 0.02f);
}

TEST_F(Playback, SilenceGivesAZeroSpectrum) {
  Play({.seconds = 1.0, .frequency = 0.0});
  SoundSetSpectrumActive(true);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(LargestFarFrom(Spectrum(), 0, 0), 0.0f);
}

TEST_F(Playback, AFileAtAnotherRateIsConvertedToTheMixingRate) {
  Play({.rate = 22050, .channels = 1, .seconds = 2.0});
  EXPECT_EQ(SoundStreamLengthMs(stream), 2000);
  SoundSetSpectrumActive(true);
  std::this_thread::sleep_for(150ms);
  const std::vector<float> values = Spectrum();
  EXPECT_EQ(PeakBin(values), 23);
  EXPECT_GT(values[23], 0.8f);
}

TEST_F(Playback, TheStreamLoopsAndItsTimeGoesOnPastTheEnd) {
  Play({.seconds = 0.3});
  EXPECT_EQ(SoundStreamLengthMs(stream), 300);
  SoundSetSpectrumActive(true);
  std::this_thread::sleep_for(800ms);
  EXPECT_GT(SoundStreamTimeMs(stream), 700);
  const std::vector<float> values = Spectrum();
  EXPECT_EQ(PeakBin(values), 23);
  EXPECT_GT(values[23], 0.7f);
}

TEST_F(Playback, TheDeviceIsFedAtItsOwnPace) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", (folder / "device.raw").c_str(), 1);
  Play({.seconds = 2.0}, SoundOutputKind::Device);
  std::this_thread::sleep_for(500ms);
  const std::int32_t time = SoundStreamTimeMs(stream);
  EXPECT_GT(time, 300);
  EXPECT_LT(time, 650);
  SoundStreamClose(stream);
  stream = nullptr;
  SoundClose();

  std::ifstream raw(folder / "device.raw", std::ios::binary);
  std::vector<float> heard(44100);
  raw.read(reinterpret_cast<char*>(heard.data()), static_cast<std::streamsize>(heard.size() * sizeof(float)));
  const float loudest = *std::max_element(heard.begin(), heard.end());
  EXPECT_GT(loudest, 0.9f);
  EXPECT_LE(loudest, 1.0f);
}

TEST_F(Playback, ADeviceThatCannotBeOpenedIsAnOutputDeviceError) {
  setenv("SDL_AUDIODRIVER", "alsa", 1);
  setenv("AUDIODEV", "kelvane_no_such_device", 1);
  SoundSetOutput(SoundOutputKind::Device);
  EXPECT_FALSE(SoundInit(44100));
  EXPECT_EQ(SoundLastError(), kSoundOutputDeviceFailed);
  EXPECT_EQ(SoundStreamOpen("anything.wav", 0), nullptr);
  EXPECT_EQ(SoundLastError(), kSoundNotInitialised);
}

}  // namespace
