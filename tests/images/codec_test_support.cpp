#include "tests/images/codec_test_support.h"

#include <atomic>
#include <cmath>
#include <sstream>

#include "images/internal/hwl_avx2.h"
#include "tests/support/subprocess.h"

namespace {

double Wave(double x, double y, int channel) {
  if (channel == 0) return 128 + 90 * std::sin(x / 11.0) * std::cos(y / 13.0);
  return channel == 1 ? 120 + 80 * std::sin((x + y) / 17.0) : 130 + 70 * std::cos(x / 9.0 - y / 19.0);
}

Bytes WavePixels(std::uint32_t width, std::uint32_t height, int channels) {
  Bytes pixels;
  for (std::uint32_t i = 0; i < width * height * channels; ++i) {
    pixels.push_back(
        static_cast<std::uint8_t>(std::lround(Wave(i / channels % width, i / channels / width, i % channels))));
  }
  return pixels;
}

}  // namespace

Bytes SmoothColourPixels(std::uint32_t width, std::uint32_t height) { return WavePixels(width, height, 3); }
Bytes SmoothGreyPixels(std::uint32_t width, std::uint32_t height) { return WavePixels(width, height, 1); }

std::string TempFile(const std::string& name) {
  static const TempFolder folder;
  static std::atomic<int> serial{0};
  return folder.File(std::to_string(serial++) + "_" + name);
}

Bytes ReadFileBytes(const std::string& path) {
  const std::string bytes = ReadWholeFile(path);
  return Bytes(bytes.begin(), bytes.end());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) { WriteWholeFile(path, ToString(bytes)); }

Bytes EncodeToBytes(const SourcePicture& picture, const HwlEncodeOptions& options, std::string path) {
  if (path.empty()) path = TempFile("encoded.hwl");
  HwlEncodeReport report;
  const HwlEncodeResult result = EncodeHwlPicture(picture, options, path, report);
  EXPECT_TRUE(result.encoded()) << result.problem;
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
  const Bytes file = ReadFileBytes(path);
  for (int c = ChannelCount(header); c < 3; ++c) EXPECT_EQ(file[33 + c], 0) << "unused channel " << c;
  return file;
}

Bytes DecodeBytes(const Bytes& file, ImageHeader& header) {
  std::istringstream stream(ToString(file));
  Bytes pixels;
  EXPECT_TRUE(LoadImageFile(pixels, header, stream, true).decoded());
  return pixels;
}

ImageHeader HeaderOf(const Bytes& file) {
  return ParseImageHeader(std::span<const std::uint8_t, kImageHeaderSize>(file.data(), kImageHeaderSize));
}

Bytes WithHeader(Bytes file, const ImageHeader& header) {
  const ImageHeaderBytes bytes = SerializeImageHeader(header);
  return std::copy(bytes.begin(), bytes.end(), file.begin()), file;
}

void OnBothDecoderPaths::SetUp() { HwlAllowAvx2(GetParam()); }
void OnBothDecoderPaths::TearDown() { HwlAllowAvx2(true); }
