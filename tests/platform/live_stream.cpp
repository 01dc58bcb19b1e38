#include "tests/platform/live_stream.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/internal/sound_stream.h"
#include "platform/sound.h"

std::vector<float> LiveHeardSamples(const std::string& path, std::int32_t timeMs, std::int32_t mixRate) {
  std::int32_t error = 0;
  std::unique_ptr<SoundStream> stream = SoundStream::Open(path.c_str(), 0, mixRate, 800, error);
  EXPECT_NE(stream, nullptr) << "error " << error;
  std::vector<float> samples(kSpectrumWindow);
  if (!stream) return samples;
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the decoder fills its buffer
  const auto start = SoundStream::Time(std::chrono::seconds(1000));
  stream->StartClock(start);
  const auto frames = static_cast<std::size_t>(std::int64_t(timeMs) * mixRate / 1000);
  const auto now = start + std::chrono::milliseconds(timeMs);
  std::vector<float> stereo(frames * 2);
  stream->Pull(stereo.data(), frames, 0, now);
  stream->HeardSamples(now, samples.data());
  return samples;
}
