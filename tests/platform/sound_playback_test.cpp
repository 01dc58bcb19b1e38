// The sound layer playing: in real time through its face, on the silent output and on a device that
// does not exist; then the stream and the device output (on SDL's "disk" driver, a file at the
// device's pace) driven by the test, for what the playing time is made of.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
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

// On the silent output the time starts at zero, never goes back and keeps the wall clock's pace, and the
// layer cannot be set up twice. A device that cannot be opened is the output device's error, and no
// stream opens before the layer is set up.
TEST(Playback, TheSilentClockKeepsTimeAndADeviceThatCannotOpenIsAnOutputDeviceError) {
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
  setenv("SDL_AUDIODRIVER", "alsa", 1), setenv("AUDIODEV", "kelvane_no_such_device", 1);
  SoundSetOutput(SoundOutputKind::Device);
  EXPECT_FALSE(SoundInit(44100));
  EXPECT_EQ(SoundLastError(), kSoundOutputDeviceFailed);
  EXPECT_EQ(SoundStreamOpen("anything.wav", 0), nullptr);
  EXPECT_EQ(SoundLastError(), kSoundNotInitialised);
  unsetenv("SDL_AUDIODRIVER"), unsetenv("AUDIODEV");
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
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", folder.File("device.raw").c_str(), 1);
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

}  // namespace
