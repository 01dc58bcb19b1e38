// The sound layer playing: in real time through its face, on the silent output and on a device that
// does not exist; the stream and the device output driven by the test, for what the playing time is
// made of; and the transport a live player plays the music through. On SDL's "disk" driver the file
// grows at the device's pace with exactly what the device plays, so what is heard after a seek or a
// pause, and how far the clock is from it, can be read back: the transport's music counts its own
// frames, so every sample in the file says which moment of the music it is.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/internal/sound_device_output.h"
#include "platform/internal/sound_stream.h"
#include "platform/sound.h"
#include "tests/platform/sound_files.h"
#include "tests/support/subprocess.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// On the silent output the time starts at zero, never goes back and keeps the wall clock's pace; the
// layer cannot be set up twice, and no stream opens before it is set up. (The fault matrix runs the
// demo without a sound device.)
TEST(Playback, TheSilentClockKeepsTimeAndTheLayerIsSetUpOnce) {
  TempFolder folder;
  WriteTone(folder.File("tone.wav"), {.seconds = 3.0});
  SoundSetOutput(SoundOutputKind::Silent);
  ASSERT_TRUE(SoundInit(44100));
  SoundStream* stream = SoundStreamOpen(folder.File("tone.wav").c_str(), 0);
  ASSERT_EQ(SoundStreamPlay(stream), 0) << SoundErrorText(SoundLastError());
  const Clock::time_point started = Clock::now();
  std::int32_t previous = SoundStreamTimeMs(stream);
  EXPECT_LT(previous, 50);
  for (std::int32_t time = previous; Clock::now() - started < 2s; previous = time) {
    std::this_thread::sleep_for(2ms);
    ASSERT_GE(time = SoundStreamTimeMs(stream), previous);
  }
  const double wallMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
  EXPECT_NEAR(SoundStreamTimeMs(stream), wallMs, 60);
  SoundStreamClose(stream);
  SoundSetOutput(SoundOutputKind::Device);
  EXPECT_EQ(SoundLastError(), kSoundAlreadyInitialised);
  SoundClose();
  EXPECT_EQ(SoundStreamOpen("anything.wav", 0), nullptr);
  EXPECT_EQ(SoundLastError(), kSoundNotInitialised);
}

TEST(SoundStream, TheTimeIsTheFramesHandedOutLessThoseTheOutputStillHolds) {
  TempFolder folder;
  WriteTone(folder.File("tone.wav"), {.seconds = 0.3});
  std::int32_t error = 0;
  const std::unique_ptr<SoundStream> stream = SoundStream::Open(folder.File("tone.wav").c_str(), 0, 44100, 800, error);
  ASSERT_NE(stream, nullptr);
  std::this_thread::sleep_for(300ms);  // the decoder fills its buffer
  const SoundStream::Time start{1000s};
  stream->StartClock(start);
  // Half a second handed out at once (the 0.3 s of music looped), 4410 frames still queued: 400 ms
  // heard, far ahead of the clock, which jumps there and runs on.
  std::vector<float> stereo(2 * 22050);
  stream->Pull(stereo.data(), 22050, 4410, start + 1ms);
  EXPECT_DOUBLE_EQ(stream->TimeMs(start + 1ms), 400.0);
  EXPECT_DOUBLE_EQ(stream->TimeMs(start + 101ms), 500.0);
}

std::atomic<std::int64_t> pulledFrames{0}, queuedFrames{0};

void PullQuarters(float* stereo, std::size_t frames, std::int64_t queued, std::chrono::steady_clock::time_point) {
  std::fill(stereo, stereo + 2 * frames, 0.25f);
  pulledFrames = std::int64_t(frames), queuedFrames = queued;
}

// The device takes 32-bit float stereo as pulled, in buffers of 1024 frames. While it takes one,
// the one before it still plays: both are reported as not heard yet.
TEST(DeviceOutput, PlaysWhatItPullsAndReportsTwoBuffersNotHeardYet) {
  TempFolder folder;
  setenv("SDL_AUDIODRIVER", "disk", 1), setenv("SDL_DISKAUDIOFILE", folder.File("device.raw").c_str(), 1);
  std::int32_t error = -1;
  std::unique_ptr<SoundOutput> output = OpenDeviceOutput(44100, PullQuarters, error);
  ASSERT_NE(output, nullptr) << error;
  for (int wait = 0; wait < 100 && pulledFrames == 0; ++wait) std::this_thread::sleep_for(10ms);
  std::this_thread::sleep_for(50ms);  // the first buffer reaches the file
  output.reset();
  unsetenv("SDL_AUDIODRIVER"), unsetenv("SDL_DISKAUDIOFILE");
  EXPECT_EQ(pulledFrames, 1024);
  EXPECT_EQ(queuedFrames, 2048);
  // The device plays silence until it is started: then nothing but what was pulled, as it was.
  const std::string raw = ReadWholeFile(folder.File("device.raw"));
  std::vector<float> heard(raw.size() / sizeof(float));
  std::memcpy(heard.data(), raw.data(), heard.size() * sizeof(float));
  const std::ptrdiff_t pulled = std::count(heard.begin(), heard.end(), 0.25f);
  EXPECT_TRUE(pulled >= 2 * 1024 &&
              pulled + std::count(heard.begin(), heard.end(), 0.0f) == std::ptrdiff_t(heard.size()));
}

constexpr std::int32_t kRate = 44100;
constexpr double kFrameCode = 1.0 / (1 << 23);  // exact in a float for every frame of 190 s
constexpr double kLatencyMs = 50.0;             // sound may be this late (or early) on the picture
constexpr double kFrameMs = 1000.0 / kRate;

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

// The first frame from `played` on that is music at `atLeast` ms or later: it must be `moment` and come
// within the latency. Returns its index (the end when there is none).
std::size_t ExpectHeardInTime(const std::vector<double>& heard, std::int64_t played, double atLeast, double moment) {
  const auto from = heard.begin() + std::min(played, std::int64_t(heard.size()));
  const auto first = std::find_if(from, heard.end(), [&](double m) { return m >= atLeast; });
  if (first == heard.end()) return ADD_FAILURE() << moment << " ms was never heard", heard.size();
  EXPECT_NEAR(*first, moment, kFrameMs);
  EXPECT_LE(double(first - from) * kFrameMs, kLatencyMs);
  return std::size_t(first - heard.begin());
}

// What the program reads at one moment: its clock, and how much the device has played by then.
struct Reading { double clockMs; std::int64_t framesPlayed; };

class TransportOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "disk", 1), setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
    SoundSetOutput(SoundOutputKind::Device);
    ASSERT_TRUE(SoundInit(kRate)) << SoundErrorText(SoundLastError());
    ASSERT_NE(transport_ = SoundTransportOpen(CountingMusic(60.0)), nullptr);
  }
  void TearDown() override {
    SoundTransportClose(transport_);
    SoundClose();
    unsetenv("SDL_AUDIODRIVER"), unsetenv("SDL_DISKAUDIOFILE");
  }

  // Reads the clock every few milliseconds for `span`; the clock must never go back.
  std::vector<Reading> Watch(std::chrono::milliseconds span) {
    std::vector<Reading> readings;
    for (const Clock::time_point end = Clock::now() + span; Clock::now() < end; std::this_thread::sleep_for(4ms)) {
      readings.push_back({SoundTransportTimeMs(transport_), FramesPlayed(file_)});
      EXPECT_GE(readings.back().clockMs, readings.size() > 1 ? readings[readings.size() - 2].clockMs : 0.0);
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
  // From the first new frame on the music plays on, frame after frame.
  const std::size_t firstNew = ExpectHeardInTime(heard, playedAtSeek, 40000.0, 40000.0);
  for (std::size_t k = firstNew + 1; k < heard.size() && heard[k] >= 0; ++k)
    ASSERT_NEAR(heard[k] - heard[k - 1], kFrameMs, 1e-6) << "frame " << k;
  ExpectClockOnTheSound(before, heard, 10, 0.0);
  ExpectClockOnTheSound(after, heard, 0, 40000.0);
}

// While paused the device plays silence; the music comes back where the clock stood.
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
  ExpectHeardInTime(HeardMoments(ReadWholeFile(file_)), playedAtResume, 0.0, pausedAt);
  EXPECT_GT(pausedAt, 2000.0 + 200.0);
}

}  // namespace
