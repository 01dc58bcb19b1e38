#include "platform/internal/sound_resampler.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Stereo frames whose left channel is the frame number and whose right is its negation.
std::vector<float> Ramp(std::size_t frames) {
  std::vector<float> samples;
  for (std::size_t i = 0; i < frames; ++i) {
    samples.push_back(static_cast<float>(i));
    samples.push_back(-static_cast<float>(i));
  }
  return samples;
}

TEST(StereoResampler, DoublingTheRateInterpolatesBetweenFrames) {
  StereoResampler resampler(22050, 44100);
  const std::vector<float> input = Ramp(6);
  std::vector<float> output;
  resampler.Convert(input.data(), 5, output);
  // 0, 0.5, ..., 3.5: the frame at 4 waits for the next block, which it is interpolated towards.
  ASSERT_EQ(output.size(), 2u * 8);
  resampler.Convert(input.data() + 10, 1, output);
  ASSERT_EQ(output.size(), 2u * 10);
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_FLOAT_EQ(output[2 * i], 0.5f * static_cast<float>(i));
    EXPECT_FLOAT_EQ(output[2 * i + 1], -0.5f * static_cast<float>(i));
  }
}

TEST(StereoResampler, BlocksOfAnySizeGiveTheSameFramesAsOneWholeBlock) {
  for (const auto& [from, to] : {std::pair{48000, 44100}, std::pair{22050, 44100}, std::pair{8000, 44100}}) {
    const std::vector<float> input = Ramp(1000);
    StereoResampler whole(from, to);
    std::vector<float> expected;
    whole.Convert(input.data(), 1000, expected);

    StereoResampler pieces(from, to);
    std::vector<float> output;
    for (std::size_t at = 0, size = 1; at < 1000; at += size, size = size % 37 + 1) {
      const std::size_t count = std::min<std::size_t>(size, 1000 - at);
      pieces.Convert(input.data() + 2 * at, count, output);
    }
    ASSERT_EQ(output.size(), expected.size()) << from;
    for (std::size_t i = 0; i < output.size(); ++i) ASSERT_NEAR(output[i], expected[i], 1e-3) << from << " " << i;
    // The frame count follows the rate ratio.
    EXPECT_NEAR(static_cast<double>(output.size() / 2), 999.0 * to / from, 2.0) << from;
  }
}

}  // namespace
