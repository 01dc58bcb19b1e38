// Whole decodes against the plain reference decoder on coefficient planes built to reach every branch
// of the transform's pair rule and the values where binary64 shortcuts could go wrong: long stretches
// of zero details over equal and unequal neighbours, blocks that are not a multiple of the decoder's
// working widths, huge, tiny, zero and non-finite band factors.
#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "tests/images/codec_test_support.h"

namespace {

struct Picture {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int bitsPerPixel = 24;
  int lastLevel = 0;
  std::vector<std::int32_t> planes[3];
  std::vector<double> scales[3];
};

Bytes FileOf(const Picture& picture) {
  const ChannelPlanes planes{picture.planes[0].data(), picture.planes[1].data(), picture.planes[2].data()};
  const ChannelScales scales{picture.scales[0].data(), picture.scales[1].data(), picture.scales[2].data()};
  return WrittenBytes(planes, picture.width, picture.height, picture.bitsPerPixel, picture.lastLevel, scales,
                      {8, 8, 8});
}

// Mostly zeros; the rest drawn from a few magnitudes and often repeating the previous coefficient,
// so that neighbouring pairs are equal as often as not and whole stretches of details are zero.
std::vector<std::int32_t> SparsePlane(std::size_t size, std::mt19937& random, unsigned zeroPercent) {
  std::vector<std::int32_t> plane(size);
  std::int32_t previous = 0;
  for (auto& coefficient : plane) {
    const unsigned draw = random() % 100;
    if (draw < zeroPercent) {
      coefficient = 0;
    } else if (draw % 3 == 0) {
      coefficient = previous;
    } else {
      constexpr std::int32_t kMagnitudes[] = {1, 2, 3, 17, 128, 255};
      coefficient = kMagnitudes[random() % 6] * (random() % 2 ? 1 : -1);
    }
    previous = coefficient;
  }
  return plane;
}

Picture SparsePicture(std::uint32_t W, std::uint32_t H, int lastLevel, int bitsPerPixel, unsigned seed,
                      unsigned zeroPercent) {
  std::mt19937 random(seed);
  Picture picture{W, H, bitsPerPixel, lastLevel, {}, {}};
  for (int c = 0; c < 3; ++c) {
    picture.planes[c] = SparsePlane(std::size_t{W} * H, random, zeroPercent);
    for (int k = 0; k < lastLevel + 2; ++k) picture.scales[c].push_back(0.05 + 0.01 * (random() % 300));
  }
  return picture;
}

void ExpectReferenceBytes(const Picture& picture, const std::string& what) {
  const Bytes file = FileOf(picture);
  ImageHeader header;
  const Bytes decoded = DecodeBytes(file, header);
  const Bytes reference = ReferenceDecode(file);
  EXPECT_TRUE(decoded == reference) << what;
}

// With the AVX2 loops allowed and without them: both must give the same bytes.
class HwlExactness : public OnBothDecoderPaths {};

TEST_P(HwlExactness, SparsePicturesDecodeAsTheReferenceDoes) {
  // 296 = 8 × 37 columns: line lengths of 148, 74 and 37 pairs, none a multiple of the decoder's
  // groups; 24 rows end in a step of three pairs, whose one inner pair is both first and last.
  struct Row {
    std::uint32_t width, height;
    int lastLevel, bitsPerPixel;
    unsigned zeroPercent;
  };
  const Row rows[] = {{296, 24, 2, 8, 50},  {296, 24, 2, 24, 50},  {296, 24, 2, 8, 85},   {296, 24, 2, 24, 85},
                      {296, 24, 2, 8, 97},  {296, 24, 2, 24, 97},  {320, 160, 0, 24, 80}, {320, 160, 1, 24, 80},
                      {320, 160, 4, 24, 80}};
  for (const Row& row : rows) {
    ExpectReferenceBytes(SparsePicture(row.width, row.height, row.lastLevel, row.bitsPerPixel,
                                       100 + row.zeroPercent + row.lastLevel + row.bitsPerPixel, row.zeroPercent),
                         std::to_string(row.width) + " x " + std::to_string(row.height) + ", lastLevel " +
                             std::to_string(row.lastLevel) + ", " + std::to_string(row.bitsPerPixel) + " bits, " +
                             std::to_string(row.zeroPercent) + "% zeros");
  }
}

TEST_P(HwlExactness, FlatBlocksStayFlatAndTheirEdgesBlend) {
  // Only the approximation band carries values, in runs of equal coefficients: every detail is zero,
  // so each output is decided by the equality tests alone.
  Picture picture = SparsePicture(256, 64, 3, 24, 11, 100);
  const std::uint32_t bandWidth = 256 >> 4, bandHeight = 64 >> 4;
  for (int c = 0; c < 3; ++c) {
    for (std::uint32_t y = 0; y < bandHeight; ++y) {
      for (std::uint32_t x = 0; x < bandWidth; ++x) picture.planes[c][y * 256 + x] = 40 + 30 * ((x / 3 + y + c) % 3);
    }
  }
  ExpectReferenceBytes(picture, "flat blocks");
}

TEST_P(HwlExactness, ExtremeAndNonFiniteFactorsGiveTheReferenceBytes) {
  // Factors of 1e300 overflow sums to infinity and then NaN, 1e-300 gives subnormal coefficients,
  // 5e-324 a factor of infinity (infinity × 0 is NaN even for zero coefficients), NaN and infinite
  // scales, and a scale of zero silences its band.
  const double kScales[] = {1e-300, 1e300, 5e-324, std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity(), 0.0, -0.0, 1.0 / 255, 3.0};
  std::mt19937 random(31);
  for (int trial = 0; trial < 12; ++trial) {
    Picture picture = SparsePicture(136, 48, 2, trial % 3 ? 24 : 8, 40 + trial, 70);
    for (auto& table : picture.scales) {
      for (auto& scale : table) {
        if (random() % 3 == 0) scale = kScales[random() % std::size(kScales)];
      }
    }
    ExpectReferenceBytes(picture, "trial " + std::to_string(trial));
  }
}

INSTANTIATE_ON_BOTH_DECODER_PATHS(HwlExactness);

}  // namespace
