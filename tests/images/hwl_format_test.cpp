// Header bytes, stream packing and what a reader refuses; whole pictures encoded and decoded, against
// the input and against the reference decoder. (The writer's tests hold file sizes to ExpectedFileSize.)
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "images/internal/hwl_format.h"
#include "images/internal/hwl_packing.h"
#include "tests/images/codec_test_support.h"

namespace {

ImageHeader ColourHeader(std::uint16_t width, std::uint16_t height, std::uint8_t lastLevel) {
  return {{}, width, height, 24, lastLevel, {}, {}, {8, 8, 8}};
}

TEST(HwlHeader, FieldsSitAtTheirLittleEndianOffsets) {
  const ImageHeaderBytes bytes = {'H',  'W',  'L', 0x00, 0x02, 0x80, 0x01, 24,   5,    0x01, 0x02, 0x03,
                                  0x04, 0x05, 0,   0,    0,    0xFF, 0xFF, 0xFF, 0xFF, 10,   0,    0,
                                  0,    11,   0,   0,    0,    0,    0,    0,    0x80, 8,    6,    0};
  const ImageHeader header = ParseImageHeader(bytes);
  EXPECT_EQ(std::tuple(header.width, header.height, header.bitsPerPixel, header.lastLevel),
            std::tuple(512, 384, 24, 5));
  EXPECT_EQ(header.symbolCount, (std::array<std::uint32_t, 3>{0x04030201u, 5u, 0xFFFFFFFFu}));
  EXPECT_EQ(header.valueCount, (std::array<std::uint32_t, 3>{10u, 11u, 0x80000000u}));
  EXPECT_EQ(header.valueBits, (std::array<std::uint8_t, 3>{8, 6, 0}));
  EXPECT_EQ(SerializeImageHeader(header), bytes);
}

// Each width keeps only its low bits and takes its stream's length. (The bit order, lowest first, is the
// reference decoder's: the decoder's tests hold the engine's files to it.)
TEST(HwlPacking, EveryWidthPacksOnlyItsBitsAndUnpacksAgain) {
  std::mt19937 random(7);
  for (int bits = 0; bits <= 8; ++bits) {
    Bytes input(1001), unpacked(1001);
    for (auto& value : input) value = static_cast<std::uint8_t>(random());
    Bytes packed = input;
    const std::size_t length = PackValuesInPlace(packed, 1001, bits);
    EXPECT_EQ(length, ValueStreamBytes(1001, bits));
    UnpackValues(std::span(packed.data(), length), bits, unpacked);
    for (std::size_t i = 0; i < input.size(); ++i) {
      ASSERT_EQ(unpacked[i], input[i] & ((1u << bits) - 1)) << "bits " << bits << " value " << i;
    }
  }
}

TEST(HwlFormat, ReaderRefusesWhatItCannotDecode) {
  ImageHeader wideUnused = ColourHeader(64, 32, 3);
  wideUnused.valueBits[2] = 9;
  ImageHeader wide = wideUnused;
  wideUnused.bitsPerPixel = 8;  // channel 2 is not in use in a grey file
  const std::pair<ImageHeader, std::string> rows[] = {  // the problem: "" for accepted, else a part of it
      {ColourHeader(64, 32, 3), ""},
      {ColourHeader(0, 0, 16), ""},  // sizes that fit any level, so only the level decides
      {ColourHeader(0, 0, 17), "lastLevel 17 is greater than 16"},
      {wide, "valueBits of channel 2 is 9, more than 8"},
      {wideUnused, ""},
      {ColourHeader(72, 32, 3), "width 72 is not a multiple of 2^(lastLevel + 1) = 16"},
      {ColourHeader(64, 40, 3), "height 40 is not a multiple of 2^(lastLevel + 1) = 16"},
      {ColourHeader(4096, 4096, 3), ""},  // 16 Mpixel colour still fits in 1 GiB
      {ColourHeader(8192, 8192, 3), "bytes of working memory, more than 1 GiB"},
  };
  for (const auto& [header, expected] : rows) {
    const std::string problem = ImageHeaderProblem(header);
    EXPECT_TRUE(problem.empty() == expected.empty() && problem.find(expected) != std::string::npos)
        << header.width << " x " << header.height << ": " << problem;
  }
  // A dense file, every coefficient its own symbol and value, stays within 48 bytes per pixel.
  ImageHeader dense = ColourHeader(1024, 1024, 3);
  dense.symbolCount = dense.valueCount = {1024 * 1024, 1024 * 1024, 1024 * 1024};
  EXPECT_LE(DecodeWorkingMemory(dense), 48u * 1024 * 1024);
}

TEST(HwlRoundTrip, PicturesComeBackAsTheReferenceDecodesThem) {
  const struct Row {
    const char* what;
    std::uint32_t width, height;
    int channels;  // 0: a flat colour picture
    HwlEncodeOptions options;  // lastLevel, valueBits, threshold, grey
    int bitsPerPixel, lastLevel;
    double leastPsnr;
    std::uint64_t leastZeroed;
  } rows[] = {
      {"smooth colour", 64, 48, 3, {}, 24, 3, 40.0, 0},  // 48 = 3 × 16 allows 2^(3 + 1), not 2^(4 + 1)
      // Zero details and equal neighbours everywhere: nothing blends and nothing is lost.
      {"flat colour", 32, 32, 0, {}, 24, 4, HUGE_VAL, 0},
      {"own value widths", 32, 32, 3, {{}, {7, 4, 2}, {}, false}, 24, 4, 20.0, 0},  // a wrong width is noise
      {"zeroed details", 64, 64, 3, {{}, {6, 5, 5}, 3.0, false}, 24, 5, 30.0, 1000},
      {"grey", 32, 64, 1, {{}, {8, 8, 8}, 1.0, false}, 8, 4, 40.0, 1},
      {"colour reduced to grey", 32, 32, 3, {{}, {8, 8, 8}, {}, true}, 8, 4, 40.0, 0},
      {"levels of our own", 64, 32, 3, {1, {8, 8, 8}, {}, false}, 24, 1, 40.0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const Bytes pixels = row.channels == 0   ? Bytes(row.width * row.height * 3, 100)
                         : row.channels == 3 ? SmoothColourPixels(row.width, row.height)
                                             : SmoothGreyPixels(row.width, row.height);
    const std::string path = TempFile("round.hwl");  // the tool's tests hold the report's size and header
    HwlEncodeReport report;
    const SourcePicture picture{pixels.data(), row.width, row.height, row.channels == 0 ? 3 : row.channels};
    ASSERT_TRUE(EncodeHwlPicture(picture, row.options, path, report).encoded());
    EXPECT_EQ(std::tuple(report.header.bitsPerPixel, report.header.lastLevel),
              std::tuple(row.bitsPerPixel, row.lastLevel));
    EXPECT_TRUE(report.psnr >= row.leastPsnr && report.zeroedDetails >= row.leastZeroed) << report.psnr;
    const Bytes file = ReadFileBytes(path);  // with each channel's own width, and as long as its header says
    const ImageHeader written = HeaderOf(file);
    for (int c = 0; c < ChannelCount(written); ++c) EXPECT_EQ(written.valueBits[c], row.options.valueBits[c]) << c;
    EXPECT_EQ(file.size(), ExpectedFileSize(written));
    EXPECT_EQ(report.bitsPerPixel, 8.0 * double(file.size()) / (row.width * row.height));
    ImageHeader header;
    EXPECT_EQ(DecodeBytes(file, header), ReferenceDecode(file));
  }
}

}  // namespace
