#include "tests/images/codec_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

#include "images/internal/hwl_avx2.h"
#include "images/hwl.h"
#include "tests/support/subprocess.h"

namespace {

double Wave(double x, double y, int channel) {
  switch (channel) {
    case 0: return 128 + 90 * std::sin(x / 11.0) * std::cos(y / 13.0);
    case 1: return 120 + 80 * std::sin((x + y) / 17.0);
    default: return 130 + 70 * std::cos(x / 9.0 - y / 19.0);
  }
}

}  // namespace

Bytes SmoothColourPixels(std::uint32_t width, std::uint32_t height) {
  Bytes pixels;
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      for (int c = 0; c < 3; ++c) pixels.push_back(static_cast<std::uint8_t>(std::lround(Wave(x, y, c))));
    }
  }
  return pixels;
}

Bytes SmoothGreyPixels(std::uint32_t width, std::uint32_t height) {
  Bytes pixels;
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) pixels.push_back(static_cast<std::uint8_t>(std::lround(Wave(x, y, 0))));
  }
  return pixels;
}

std::string TempFile(const std::string& name) {
  // One folder per test process, removed when it exits, so repeated runs leave nothing behind.
  static const TempFolder folder;
  static std::atomic<int> serial{0};
  return folder.File(std::to_string(serial++) + "_" + name);
}

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes EncodeToBytes(const SourcePicture& picture, const HwlEncodeOptions& options) {
  const std::string path = TempFile("encoded.hwl");
  HwlEncodeReport report;
  const HwlEncodeResult encoded = EncodeHwlPicture(picture, options, path, report);
  EXPECT_TRUE(encoded.encoded()) << encoded.problem;
  return ReadFileBytes(path);
}

Bytes SmoothColourFile(std::uint32_t width, std::uint32_t height, const HwlEncodeOptions& options) {
  const Bytes pixels = SmoothColourPixels(width, height);
  return EncodeToBytes({pixels.data(), width, height, 3}, options);
}

Bytes WrittenBytes(const ChannelPlanes& planes, std::uint32_t W, std::uint32_t H, int bitsPerPixel, int lastLevel,
                   const ChannelScales& scales, const ChannelBits& valueBits) {
  const std::string path = TempFile("written.hwl");
  ImageHeader header;
  EXPECT_EQ(WriteImageFile(path, planes, W, H, bitsPerPixel, lastLevel, scales, valueBits, header), std::nullopt);
  return ReadFileBytes(path);
}

Bytes DecodeBytes(const Bytes& file, ImageHeader& header) {
  std::istringstream stream(std::string(file.begin(), file.end()));
  Bytes pixels;
  const ImageLoadResult result = LoadImageFile(pixels, header, stream, true);
  EXPECT_TRUE(result.decoded()) << result.problem;
  return pixels;
}

std::vector<std::size_t> BlockBoundaries(const ImageHeader& header) {
  std::vector<std::size_t> boundaries{0, kImageHeaderSize};
  std::size_t offset = kImageHeaderSize;
  for (int c = 0; c < ChannelCount(header); ++c) boundaries.push_back(offset += ScaleTableBytes(header.lastLevel));
  for (int c = 0; c < ChannelCount(header); ++c) {
    boundaries.push_back(offset += SymbolStreamBytes(header.symbolCount[c]));
    boundaries.push_back(offset += ValueStreamBytes(header.valueCount[c], header.valueBits[c]));
  }
  return boundaries;
}

void OnBothDecoderPaths::SetUp() { HwlAllowAvx2(GetParam()); }
void OnBothDecoderPaths::TearDown() { HwlAllowAvx2(true); }

std::string DecoderPathName(const testing::TestParamInfo<bool>& info) {
  return info.param ? "Avx2Allowed" : "Portable";
}
