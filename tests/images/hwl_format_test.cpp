// Header bytes, stream packing, file sizes and what a reader refuses.
#include <gtest/gtest.h>

#include <random>

#include "images/internal/hwl_format.h"
#include "images/internal/hwl_packing.h"
#include "tests/images/codec_test_support.h"

namespace {

ImageHeader ColourHeader(std::uint16_t width, std::uint16_t height, int lastLevel) {
  ImageHeader header;
  header.width = width;
  header.height = height;
  header.bitsPerPixel = 24;
  header.lastLevel = static_cast<std::uint8_t>(lastLevel);
  header.valueBits = {8, 8, 8};
  return header;
}

TEST(HwlHeader, FieldsSitAtTheirLittleEndianOffsets) {
  const ImageHeaderBytes bytes = {'H',  'W', 'L', 0x00, 0x02, 0x80, 0x01, 24, 5, 0x01, 0x02, 0x03,
                                  0x04, 0x05, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 10, 0, 0,
                                  0,    11,  0, 0, 0, 0,    0,    0,    0x80, 8,  6, 0};
  const ImageHeader header = ParseImageHeader(bytes);
  EXPECT_EQ(header.signature, (std::array<std::uint8_t, 3>{'H', 'W', 'L'}));
  EXPECT_EQ(header.width, 512);
  EXPECT_EQ(header.height, 384);
  EXPECT_EQ(header.bitsPerPixel, 24);
  EXPECT_EQ(header.lastLevel, 5);
  EXPECT_EQ(header.symbolCount, (std::array<std::uint32_t, 3>{0x04030201u, 5u, 0xFFFFFFFFu}));
  EXPECT_EQ(header.valueCount, (std::array<std::uint32_t, 3>{10u, 11u, 0x80000000u}));
  EXPECT_EQ(header.valueBits, (std::array<std::uint8_t, 3>{8, 6, 0}));
  EXPECT_EQ(SerializeImageHeader(header), bytes);
}

TEST(HwlPacking, StreamsPackLowestBitsFirstAndUnpackAgain) {
  // Five symbols take two bytes, the fifth in the low bits of the second, its high bits 0. Three 3-bit
  // values: 5 in bits 0-2, 2 in bits 3-5, and 6 (110b) with its low bits 10b in bits 6-7 and its high
  // bit in bit 0 of the second byte.
  Bytes symbols{1, 2, 3, 0, 3}, values{5, 2, 6};
  ASSERT_EQ(PackSymbolsInPlace(symbols, 5), 2u);
  ASSERT_EQ(PackValuesInPlace(values, 3, 3), 2u);
  EXPECT_EQ(Bytes(symbols.begin(), symbols.begin() + 2), (Bytes{0b00111001, 0b00000011}));
  EXPECT_EQ(Bytes(values.begin(), values.begin() + 2), (Bytes{0b10010101, 0b00000001}));
  Bytes unpackedSymbols(5), unpackedValues(3);
  UnpackSymbols(std::span(symbols.data(), 2), unpackedSymbols);
  UnpackValues(std::span(values.data(), 2), 3, unpackedValues);
  EXPECT_EQ(unpackedSymbols, (Bytes{1, 2, 3, 0, 3}));
  EXPECT_EQ(unpackedValues, (Bytes{5, 2, 6}));
}

TEST(HwlPacking, EveryWidthRoundTripsKeepingOnlyItsBits) {
  std::mt19937 random(7);
  for (int bits = 0; bits <= 8; ++bits) {
    Bytes values(1001);
    for (auto& value : values) value = static_cast<std::uint8_t>(random());
    Bytes packed = values;
    const std::size_t length = PackValuesInPlace(packed, 1001, bits);
    EXPECT_EQ(length, ValueStreamBytes(1001, bits));
    Bytes unpacked(1001);
    UnpackValues(std::span(packed.data(), length), bits, unpacked);
    for (std::size_t i = 0; i < values.size(); ++i) {
      ASSERT_EQ(unpacked[i], values[i] & ((1u << bits) - 1)) << "bits " << bits << " value " << i;
    }
  }
}

TEST(HwlFormat, FileSizeCountsEveryChannelInUse) {
  ImageHeader header = ColourHeader(64, 32, 3);
  header.symbolCount = {5, 8, 9};
  header.valueCount = {3, 4, 10};
  header.valueBits = {3, 8, 0};
  EXPECT_EQ(ExpectedFileSize(header), 36u + 3 * 8 * 5 + (2 + 2) + (2 + 4) + (3 + 0));
  header.bitsPerPixel = 8;
  EXPECT_EQ(ExpectedFileSize(header), 36u + 8 * 5 + (2 + 2));
}

TEST(HwlFormat, ReaderRefusesWhatItCannotDecode) {
  struct Row {
    ImageHeader header;
    std::string problem;  // "" for accepted; else a part of the reason
  };
  ImageHeader wideUnused = ColourHeader(64, 32, 3);
  wideUnused.valueBits[2] = 9;
  ImageHeader wide = wideUnused;
  wideUnused.bitsPerPixel = 8;  // channel 2 is not in use in a grey file
  const Row rows[] = {
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
  for (const Row& row : rows) {
    const std::string problem = ImageHeaderProblem(row.header);
    const std::string what = std::to_string(row.header.width) + " x " + std::to_string(row.header.height) +
                             ", lastLevel " + std::to_string(row.header.lastLevel) + ": " + problem;
    EXPECT_EQ(problem.empty(), row.problem.empty()) << what;
    EXPECT_NE(problem.find(row.problem), std::string::npos) << what;
  }
}

TEST(HwlFormat, ColourWorkingMemoryStaysWithin48BytesPerPixel) {
  ImageHeader header = ColourHeader(1024, 1024, 3);
  // A dense file: every coefficient its own symbol and value.
  header.symbolCount = {1024 * 1024, 1024 * 1024, 1024 * 1024};
  header.valueCount = header.symbolCount;
  EXPECT_LE(DecodeWorkingMemory(header), 48u * 1024 * 1024);
}

}  // namespace
