// Encode → decode through files and streams, against the input and against the reference decoder.
#include <gtest/gtest.h>

#include <limits>

#include "tests/images/codec_test_support.h"

namespace {

HwlEncodeReport Encode(const SourcePicture& picture, const HwlEncodeOptions& options, const std::string& path) {
  HwlEncodeReport report;
  const HwlEncodeResult result = EncodeHwlPicture(picture, options, path, report);
  EXPECT_TRUE(result.encoded()) << result.problem;
  return report;
}

HwlEncodeOptions Options(std::array<int, 3> valueBits, std::optional<double> threshold = {}, bool grey = false,
                         std::optional<int> lastLevel = {}) {
  HwlEncodeOptions options;
  options.valueBits = valueBits;
  options.threshold = threshold;
  options.grey = grey;
  options.lastLevel = lastLevel;
  return options;
}

TEST(HwlRoundTrip, PicturesComeBackAsTheReferenceDecodesThem) {
  struct Row {
    const char* what;
    std::uint32_t width, height;
    int channels;
    HwlEncodeOptions options;
    int bitsPerPixel, lastLevel;
    double leastPsnr;
    std::uint64_t leastZeroed;
  };
  const double kExact = std::numeric_limits<double>::infinity();
  const Row rows[] = {
      {"smooth colour", 64, 48, 3, {}, 24, 3, 40.0, 0},  // 48 = 3 × 16 allows 2^(3 + 1), not 2^(4 + 1)
      // Zero details and equal neighbours everywhere: nothing blends and nothing is lost.
      {"flat colour", 32, 32, 0, {}, 24, 4, kExact, 0},
      {"own value widths", 32, 32, 3, Options({7, 4, 2}), 24, 4, 20.0, 0},  // a wrong width is noise
      {"zeroed details", 64, 64, 3, Options({6, 5, 5}, 3.0), 24, 5, 30.0, 1000},
      {"grey", 32, 64, 1, Options({8, 8, 8}, 1.0), 8, 4, 40.0, 1},
      {"colour reduced to grey", 32, 32, 3, Options({8, 8, 8}, {}, true), 8, 4, 40.0, 0},
      {"levels of our own", 64, 32, 3, Options({8, 8, 8}, {}, false, 1), 24, 1, 40.0, 0},
  };
  for (const Row& row : rows) {
    const int channels = row.channels == 0 ? 3 : row.channels;  // 0: a flat colour picture
    const Bytes pixels = row.channels == 0   ? Bytes(row.width * row.height * 3, 100)
                         : row.channels == 3 ? SmoothColourPixels(row.width, row.height)
                                             : SmoothGreyPixels(row.width, row.height);
    const std::string path = TempFile("round.hwl");
    const HwlEncodeReport report = Encode({pixels.data(), row.width, row.height, channels}, row.options, path);
    EXPECT_EQ(report.header.bitsPerPixel, row.bitsPerPixel) << row.what;
    EXPECT_EQ(report.header.lastLevel, row.lastLevel) << row.what;
    EXPECT_GE(report.psnr, row.leastPsnr) << row.what;
    EXPECT_GE(report.zeroedDetails, row.leastZeroed) << row.what;
    for (int c = 0; c < ChannelCount(report.header); ++c) {
      EXPECT_EQ(report.header.valueBits[c], row.options.valueBits[c]) << row.what;
    }
    const Bytes file = ReadFileBytes(path);
    EXPECT_EQ(report.fileSize, file.size()) << row.what;
    EXPECT_EQ(report.bitsPerPixel, 8.0 * double(file.size()) / (row.width * row.height)) << row.what;
    EXPECT_EQ(SerializeImageHeader(report.header), SerializeImageHeader(HeaderOf(file))) << row.what;

    Bytes viaFile;
    ImageHeader header, streamHeader;
    ASSERT_TRUE(LoadImageFile(viaFile, header, path, true).decoded()) << row.what;
    EXPECT_EQ(viaFile, DecodeBytes(file, streamHeader)) << row.what;
    EXPECT_EQ(viaFile, ReferenceDecode(file)) << row.what;
  }
}

TEST(HwlRoundTrip, FixedBufferTakesExactlyThePicture) {
  const Bytes grey = SmoothGreyPixels(32, 64);
  const std::string path = TempFile("grey.hwl");
  Encode({grey.data(), 32, 64, 1}, {}, path);
  Bytes decoded(32 * 64 + 16, 0xAA);
  ImageHeader header;
  ASSERT_TRUE(LoadImageFile(decoded, header, path, false).decoded());
  EXPECT_EQ(Bytes(decoded.begin() + 32 * 64, decoded.end()), Bytes(16, 0xAA));
  decoded.resize(32 * 64);
  EXPECT_EQ(decoded, ReferenceDecode(ReadFileBytes(path)));
}

TEST(HwlRoundTrip, GreyFileIgnoresGarbageInTheUnusedHeaderEntries) {
  const Bytes grey = SmoothGreyPixels(16, 16);
  Bytes file = EncodeToBytes({grey.data(), 16, 16, 1}, {});
  ImageHeader clean, dirty;
  const Bytes expected = DecodeBytes(file, clean);
  for (std::size_t offset : {13, 14, 15, 16, 17, 18, 19, 20, 25, 26, 27, 28, 29, 30, 31, 32, 34, 35}) {
    file[offset] = static_cast<std::uint8_t>(0xC3 + offset);
  }
  EXPECT_EQ(DecodeBytes(file, dirty), expected);
  EXPECT_GT(dirty.valueBits[2], 8);  // even an out-of-range width is ignored in an unused channel
}

}  // namespace
