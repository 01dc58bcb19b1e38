// Encode → decode through files and streams, against the input and against a plain reference decoder.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "images/hwl.h"
#include "images/internal/hwl_quantiser.h"
#include "images/internal/hwl_wavelet.h"
#include "images/internal/hwl_writer.h"
#include "tests/images/reference_decoder.h"

namespace {

HwlEncodeReport Encode(const SourcePicture& picture, const HwlEncodeOptions& options, const std::string& path) {
  HwlEncodeReport report;
  const HwlEncodeResult encoded = EncodeHwlPicture(picture, options, path, report);
  EXPECT_TRUE(encoded.encoded()) << encoded.problem;
  return report;
}

TEST(HwlRoundTrip, SmoothColourAtEightBitsKeepsFortyDecibels) {
  const Bytes pixels = SmoothColourPixels(64, 48);
  const std::string path = TempFile("smooth.hwl");
  const HwlEncodeReport report = Encode({pixels.data(), 64, 48, 3}, {}, path);
  EXPECT_GE(report.psnr, 40.0);
  EXPECT_EQ(report.header.lastLevel, 3);  // 48 = 3 × 16 allows 2^(3 + 1), not 2^(4 + 1)
  EXPECT_EQ(report.fileSize, ReadFileBytes(path).size());

  std::vector<std::uint8_t> decoded;
  ImageHeader header;
  ASSERT_TRUE(LoadImageFile(decoded, header, path, true).decoded());
  ASSERT_EQ(decoded.size(), 64u * 48 * 4);
  for (std::size_t i = 3; i < decoded.size(); i += 4) ASSERT_EQ(decoded[i], 0) << i;
  EXPECT_EQ(decoded, ReferenceDecode(ReadFileBytes(path)));
}

TEST(HwlRoundTrip, ThreeChannelsDecodeWithTheirOwnValueWidths) {
  const Bytes pixels = SmoothColourPixels(32, 32);
  HwlEncodeOptions options;
  options.valueBits = {7, 4, 2};
  const std::string path = TempFile("widths.hwl");
  const HwlEncodeReport report = Encode({pixels.data(), 32, 32, 3}, options, path);
  EXPECT_EQ(report.header.valueBits, (std::array<std::uint8_t, 3>{7, 4, 2}));
  EXPECT_GE(report.psnr, 20.0);  // a channel read with another width would be noise
  ImageHeader header;
  EXPECT_EQ(DecodeBytes(ReadFileBytes(path), header), ReferenceDecode(ReadFileBytes(path)));
}

TEST(HwlRoundTrip, ZeroedDetailsBlendExactlyAsTheReferenceDoes) {
  // A threshold leaves many zero details, so the blending rule decides most samples.
  const Bytes pixels = SmoothColourPixels(64, 64);
  HwlEncodeOptions options;
  options.threshold = 3.0;
  options.valueBits = {6, 5, 5};
  const std::string path = TempFile("zeroed.hwl");
  const HwlEncodeReport report = Encode({pixels.data(), 64, 64, 3}, options, path);
  EXPECT_GT(report.zeroedDetails, 1000u);
  ImageHeader header;
  EXPECT_EQ(DecodeBytes(ReadFileBytes(path), header), ReferenceDecode(ReadFileBytes(path)));
}

TEST(HwlRoundTrip, GreyPicturesWriteOneBytePerPixel) {
  const Bytes grey = SmoothGreyPixels(32, 64);
  const std::string path = TempFile("grey.hwl");
  HwlEncodeOptions options;
  options.threshold = 1.0;
  const HwlEncodeReport report = Encode({grey.data(), 32, 64, 1}, options, path);
  EXPECT_EQ(report.header.bitsPerPixel, 8);
  EXPECT_GE(report.psnr, 40.0);
  // A larger caller buffer without allocation: exactly W × H bytes are written.
  std::vector<std::uint8_t> decoded(32 * 64 + 16, 0xAA);
  ImageHeader header;
  ASSERT_TRUE(LoadImageFile(decoded, header, path, false).decoded());
  for (std::size_t i = 32 * 64; i < decoded.size(); ++i) EXPECT_EQ(decoded[i], 0xAA);
  decoded.resize(32 * 64);
  EXPECT_EQ(decoded, ReferenceDecode(ReadFileBytes(path)));
}

TEST(HwlRoundTrip, ColourPictureReducedToGrey) {
  const Bytes pixels = SmoothColourPixels(32, 32);
  HwlEncodeOptions options;
  options.grey = true;
  const HwlEncodeReport report = Encode({pixels.data(), 32, 32, 3}, options, TempFile("reduced.hwl"));
  EXPECT_EQ(report.header.bitsPerPixel, 8);
  EXPECT_GE(report.psnr, 40.0);
}

TEST(HwlRoundTrip, StreamAndFileFormsWriteAndReadTheSameBytes) {
  const std::uint32_t W = 16, H = 16;
  const Bytes pixels = SmoothGreyPixels(W, H);
  std::vector<double> plane(pixels.begin(), pixels.end());
  ForwardWavelet(plane.data(), plane.data(), W, H, W, H, 2);
  std::vector<std::int32_t> quantised(plane.size());
  double scale[4];
  Quantise(plane.data(), quantised.data(), W, H, 2, 8, scale);
  const ChannelPlanes planes{quantised.data(), quantised.data(), quantised.data()};
  const ChannelScales scales{scale, scale, scale};
  for (int depth : {8, 24}) {
    const std::string path = TempFile("forms.hwl");
    ImageHeader written;
    ASSERT_EQ(WriteImageFile(path, planes, W, H, depth, 2, scales, {8, 6, 4}, written), std::nullopt);
    const Bytes bytes = ReadFileBytes(path);
    const std::string streamed(bytes.begin(), bytes.end());

    std::vector<std::uint8_t> viaFile, viaStream;
    ImageHeader fileHeader, streamHeader;
    ASSERT_TRUE(LoadImageFile(viaFile, fileHeader, path, true).decoded());
    std::istringstream input(streamed);
    ASSERT_TRUE(LoadImageFile(viaStream, streamHeader, input, true).decoded());
    EXPECT_EQ(viaFile, viaStream);
    EXPECT_EQ(SerializeImageHeader(fileHeader), SerializeImageHeader(streamHeader));
  }
}

// Keeps what the row form delivers, and checks that it comes in order, after one Begin.
class CollectedRows final : public ImageRowSink {
 public:
  void Begin(const ImageHeader& header) override {
    ++begins;
    width = header.width;
    EXPECT_TRUE(pixels.empty());
  }
  void Rows(std::uint32_t first, std::uint32_t count, const std::uint8_t* rows) override {
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(first, nextRow);
    nextRow = first + count;
    const std::size_t bytes = count * std::size_t{width} * bytesPerPixel;
    pixels.insert(pixels.end(), rows, rows + bytes);
  }
  int begins = 0;
  std::uint32_t width = 0;
  std::uint32_t nextRow = 0;
  std::size_t bytesPerPixel = 1;
  std::vector<std::uint8_t> pixels;
};

TEST(HwlRoundTrip, RowFormDeliversTheBufferFormsBytesInOrder) {
  const std::uint32_t W = 48, H = 32;
  const Bytes colour = SmoothColourPixels(W, H);
  for (bool grey : {false, true}) {
    HwlEncodeOptions options;
    options.grey = grey;
    options.threshold = 2.0;  // zeroed details, so the blends run
    const std::string path = TempFile("rows.hwl");
    Encode({colour.data(), W, H, 3}, options, path);
    std::vector<std::uint8_t> whole;
    ImageHeader header;
    ASSERT_TRUE(LoadImageFile(whole, header, path, true).decoded());

    CollectedRows rows;
    rows.bytesPerPixel = grey ? 1 : 4;
    ImageHeader rowsHeader;
    ASSERT_TRUE(LoadImageRows(rows, rowsHeader, path).decoded()) << grey;
    EXPECT_EQ(rows.nextRow, H);
    EXPECT_EQ(rows.pixels, whole) << grey;
    EXPECT_EQ(SerializeImageHeader(rowsHeader), SerializeImageHeader(header));
  }
}

TEST(HwlRoundTrip, RowFormReachesNoSinkForARefusedFile) {
  Bytes file = SmoothColourFile(16, 16);
  file[8] = 17;  // lastLevel beyond 16
  const std::string path = TempFile("refused-rows.hwl");
  WriteFileBytes(path, file);
  CollectedRows rows;
  ImageHeader header;
  const ImageLoadResult result = LoadImageRows(rows, header, path);
  EXPECT_EQ(result.status, ImageLoadStatus::Refused);
  EXPECT_EQ(rows.begins, 0);
}

TEST(HwlRoundTrip, GreyFileIgnoresGarbageInTheUnusedHeaderEntries) {
  const Bytes grey = SmoothGreyPixels(16, 16);
  Bytes file = EncodeToBytes({grey.data(), 16, 16, 1}, {});
  ImageHeader clean;
  const Bytes expected = DecodeBytes(file, clean);
  for (std::size_t offset : {13, 14, 15, 16, 17, 18, 19, 20, 25, 26, 27, 28, 29, 30, 31, 32, 34, 35}) {
    file[offset] = static_cast<std::uint8_t>(0xC3 + offset);
  }
  ImageHeader dirty;
  EXPECT_EQ(DecodeBytes(file, dirty), expected);
  EXPECT_NE(dirty.symbolCount[1], 0u);
  EXPECT_GT(dirty.valueBits[2], 8);  // even an out-of-range width is ignored in an unused channel
}

}  // namespace
