#include <gtest/gtest.h>

#include <vector>

#include "platform/internal/sound_resampler.h"

namespace {

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
      ASSERT_EQ(output[2 * n + 1], -output[2 * n]) << from << ", frame " << n;
      ASSERT_NEAR(expected[2 * n], output[2 * n], 1e-3) << from << ", frame " << n;
    }
  }
}

}  // namespace
