// The transport a live player plays the music through, on SDL's "disk" driver: the file grows at the
// device's pace with exactly what the device plays, so what is heard after a seek or a pause, and how
// far the clock is from it, can be read back. The music's samples count their own frames, so every
// sample in the file says which moment of the music it is.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/sound.h"
#include "tests/platform/sound_files.h"
#include "tests/support/subprocess.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr std::int32_t kRate = 44100;
constexpr double kFrameCode = 1.0 / (1 << 23);  // exact in a float for every frame of 190 s
constexpr double kLatencyMs = 50.0;             // sound may be this late (or early) on the picture

std::vector<float> CountingMusic(double seconds) {
  std::vector<float> stereo(2 * std::size_t(seconds * kRate));
  for (std::size_t frame = 0; frame < stereo.size() / 2; ++frame)
    stereo[2 * frame] = stereo[2 * frame + 1] = float(double(frame) * kFrameCode);
  return stereo;
}

// The music moment (ms) of each frame the device played; -1 for silence.
std::vector<double> HeardMoments(const std::string& raw) {
  std::vector<float> samples(raw.size() / sizeof(float));
  std::memcpy(samples.data(), raw.data(), samples.size() * sizeof(float));
  std::vector<double> moments;
  for (std::size_t k = 0; k + 1 < samples.size(); k += 2)
    moments.push_back(samples[k] == 0.0f ? -1.0 : 1000.0 * std::round(samples[k] / kFrameCode) / kRate);
  return moments;
}

std::int64_t FramesPlayed(const std::string& file) {
  struct stat info {};
  return stat(file.c_str(), &info) == 0 ? std::int64_t(info.st_size) / (2 * std::int64_t(sizeof(float))) : 0;
}

// What the program reads at one moment: its clock, and how much the device has played by then.
struct Reading {
  double clockMs;
  std::int64_t framesPlayed;
};

class TransportOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
    SoundSetOutput(SoundOutputKind::Device);
    ASSERT_TRUE(SoundInit(kRate)) << SoundErrorText(SoundLastError());
    transport_ = SoundTransportOpen(CountingMusic(60.0));
    ASSERT_NE(transport_, nullptr);
  }
  void TearDown() override {
    SoundTransportClose(transport_);
    SoundClose();
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
  }

  // Reads the clock every few milliseconds for `span`; the clock must never go back.
  std::vector<Reading> Watch(std::chrono::milliseconds span) {
    std::vector<Reading> readings;
    const Clock::time_point end = Clock::now() + span;
    while (Clock::now() < end) {
      readings.push_back({SoundTransportTimeMs(transport_), FramesPlayed(file_)});
      if (readings.size() > 1) {
        EXPECT_GE(readings.back().clockMs, readings[readings.size() - 2].clockMs);
      }
      std::this_thread::sleep_for(4ms);
    }
    return readings;
  }

  // Every reading's clock against the moment the device played last at that reading. Right after a
  // seek the device still plays what it held before (its latency, checked on its own): `from` leaves
  // those frames out.
  void ExpectClockOnTheSound(const std::vector<Reading>& readings, const std::vector<double>& heard,
                             std::size_t skip, double from) {
    for (std::size_t k = skip; k < readings.size(); ++k) {
      const std::int64_t last = readings[k].framesPlayed - 1;
      if (last < 0 || last >= std::int64_t(heard.size()) || heard[std::size_t(last)] < from) continue;
      EXPECT_NEAR(readings[k].clockMs, heard[std::size_t(last)], kLatencyMs) << "reading " << k;
    }
  }

  TempFolder folder_;
  std::string file_ = folder_.File("device.raw");
  SoundTransport* transport_ = nullptr;
};

TEST_F(TransportOnDisk, AfterASeekTheDeviceHearsTheNewTimeWithinTheLatencyAndTheClockFollowsIt) {
  SoundTransportSeek(transport_, 1000.0);
  SoundTransportPause(transport_, false);
  const std::vector<Reading> before = Watch(400ms);
  const std::int64_t playedAtSeek = FramesPlayed(file_);
  SoundTransportSeek(transport_, 40000.0);
  EXPECT_GE(SoundTransportTimeMs(transport_), 40000.0);
  const std::vector<Reading> after = Watch(400ms);
  SoundTransportPause(transport_, true);
  const std::vector<double> heard = HeardMoments(ReadWholeFile(file_));

  std::int64_t firstNew = playedAtSeek;
  while (firstNew < std::int64_t(heard.size()) && heard[std::size_t(firstNew)] < 40000.0) ++firstNew;
  ASSERT_LT(firstNew, std::int64_t(heard.size())) << "the new time was never heard";
  EXPECT_NEAR(heard[std::size_t(firstNew)], 40000.0, 1000.0 / kRate);
  EXPECT_LE(1000.0 * double(firstNew - playedAtSeek) / kRate, kLatencyMs);
  // From there on the music plays on, frame after frame.
  for (std::int64_t k = firstNew + 1; k < std::int64_t(heard.size()) && heard[std::size_t(k)] >= 0; ++k)
    ASSERT_NEAR(heard[std::size_t(k)] - heard[std::size_t(k - 1)], 1000.0 / kRate, 1e-6) << "frame " << k;
  ExpectClockOnTheSound(before, heard, 10, 0.0);
  ExpectClockOnTheSound(after, heard, 0, 40000.0);
}

TEST_F(TransportOnDisk, APauseStopsClockAndMusicTogetherAndPlayGoesOnFromTheMomentHeard) {
  SoundTransportSeek(transport_, 2000.0);
  SoundTransportPause(transport_, false);
  Watch(300ms);
  SoundTransportPause(transport_, true);
  const double pausedAt = SoundTransportTimeMs(transport_);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(SoundTransportTimeMs(transport_), pausedAt);
  const std::int64_t playedAtResume = FramesPlayed(file_);
  SoundTransportPause(transport_, false);
  Watch(200ms);
  const std::vector<double> heard = HeardMoments(ReadWholeFile(file_));

  // While paused the device plays silence; the music comes back where the clock stood.
  std::int64_t resumed = playedAtResume;
  while (resumed < std::int64_t(heard.size()) && heard[std::size_t(resumed)] < 0) ++resumed;
  ASSERT_LT(resumed, std::int64_t(heard.size())) << "the music never came back";
  EXPECT_NEAR(heard[std::size_t(resumed)], pausedAt, 1000.0 / kRate);
  EXPECT_LE(1000.0 * double(resumed - playedAtResume) / kRate, kLatencyMs);
  EXPECT_GT(pausedAt, 2000.0 + 200.0);
}

}  // namespace
