// Header bytes, stream packing and what a reader refuses.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "images/internal/hwl_format.h"
#include "images/internal/hwl_packing.h"
#include "tests/images/codec_test_support.h"

namespace {

ImageHeaderBytes SampleHeaderBytes() {
  return {'H', 'W', 'L', 0x00, 0x02, 0x80, 0x01, 24, 5,
          0x01, 0x02, 0x03, 0x04, 0x05, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
          10, 0, 0, 0, 11, 0, 0, 0, 0, 0, 0, 0x80, 8, 6, 0};
}

ImageHeader ValidColourHeader() {
  ImageHeader header;
  header.signature = {'H', 'W', 'L'};
  header.width = 64;
  header.height = 32;
  header.bitsPerPixel = 24;
  header.lastLevel = 3;
  header.valueBits = {8, 8, 8};
  return header;
}

TEST(HwlHeader, FieldsSitAtTheirLittleEndianOffsets) {
  const ImageHeaderBytes bytes = SampleHeaderBytes();
  const ImageHeader header = ParseImageHeader(bytes);
  EXPECT_EQ(header.width, 512);
  EXPECT_EQ(header.height, 384);
  EXPECT_EQ(header.bitsPerPixel, 24);
  EXPECT_EQ(header.lastLevel, 5);
  EXPECT_EQ(header.symbolCount[0], 0x04030201u);
  EXPECT_EQ(header.symbolCount[1], 5u);
  EXPECT_EQ(header.symbolCount[2], 0xFFFFFFFFu);
  EXPECT_EQ(header.valueCount[0], 10u);
  EXPECT_EQ(header.valueCount[1], 11u);
  EXPECT_EQ(header.valueCount[2], 0x80000000u);
  EXPECT_EQ(header.valueBits[0], 8);
  EXPECT_EQ(header.valueBits[1], 6);
  EXPECT_EQ(header.valueBits[2], 0);
  EXPECT_EQ(SerializeImageHeader(header), bytes);
}

TEST(HwlPacking, FiveSymbolsTakeTwoBytesWithTheFifthInTheLowBits) {
  Bytes symbols{1, 2, 3, 0, 3};
  const std::size_t length = PackSymbolsInPlace(symbols, 5);
  ASSERT_EQ(length, 2u);
  EXPECT_EQ(symbols[0], 0b00111001);
  EXPECT_EQ(symbols[1], 0b00000011);  // unused high bits stay 0
  std::vector<std::uint8_t> unpacked(5);
  UnpackSymbols(std::span(symbols.data(), 2), unpacked);
  EXPECT_EQ(unpacked, (std::vector<std::uint8_t>{1, 2, 3, 0, 3}));
}

TEST(HwlPacking, ThreeBitValuesStraddleTheByteBoundary) {
  Bytes values{5, 2, 6};
  ASSERT_EQ(PackValuesInPlace(values, 3, 3), 2u);
  // 5 in bits 0-2, 2 in bits 3-5, 6 (110b) with its low bits 10b in bits 6-7 and its high bit in bit 0
  // of the second byte.
  EXPECT_EQ(values[0], 0b10010101);
  EXPECT_EQ(values[1], 0b00000001);
  std::vector<std::uint8_t> unpacked(3);
  UnpackValues(std::span(values.data(), 2), 3, unpacked);
  EXPECT_EQ(unpacked, (std::vector<std::uint8_t>{5, 2, 6}));
}

TEST(HwlPacking, EveryWidthRoundTripsKeepingOnlyItsBits) {
  std::mt19937 random(7);
  for (int bits = 0; bits <= 8; ++bits) {
    Bytes values(1001);
    for (auto& value : values) value = static_cast<std::uint8_t>(random());
    Bytes packed = values;
    const std::size_t length = PackValuesInPlace(packed, 1001, bits);
    EXPECT_EQ(length, ValueStreamBytes(1001, bits));
    std::vector<std::uint8_t> unpacked(1001);
    UnpackValues(std::span(packed.data(), length), bits, unpacked);
    for (std::size_t i = 0; i < values.size(); ++i) {
      ASSERT_EQ(unpacked[i], values[i] & ((1u << bits) - 1)) << "bits " << bits << " value " << i;
    }
  }
}

TEST(HwlPacking, MissingStreamBytesReadAsZero) {
  const Bytes packed{0xFF};
  std::vector<std::uint8_t> symbols(8);
  UnpackSymbols(packed, symbols);
  EXPECT_EQ(symbols, (std::vector<std::uint8_t>{3, 3, 3, 3, 0, 0, 0, 0}));
  std::vector<std::uint8_t> values(3);
  UnpackValues(packed, 5, values);
  EXPECT_EQ(values, (std::vector<std::uint8_t>{31, 7, 0}));
}

TEST(HwlFormat, FileSizeCountsEveryChannelInUse) {
  ImageHeader header = ValidColourHeader();
  header.symbolCount = {5, 8, 9};
  header.valueCount = {3, 4, 10};
  header.valueBits = {3, 8, 0};
  // 36 + 3 × 8 × 5 + (2 + 2) + (2 + 4) + (3 + 0)
  EXPECT_EQ(ExpectedFileSize(header), 36u + 120u + 4u + 6u + 3u);
  header.bitsPerPixel = 8;
  EXPECT_EQ(ExpectedFileSize(header), 36u + 40u + 4u);
}

TEST(HwlFormat, ReaderRefusesWhatItCannotDecode) {
  EXPECT_EQ(ImageHeaderProblem(ValidColourHeader()), "");

  ImageHeader deep = ValidColourHeader();
  deep.width = deep.height = 0;  // sizes that fit any level, so only the level is at fault
  deep.lastLevel = 16;
  EXPECT_EQ(ImageHeaderProblem(deep), "");
  deep.lastLevel = 17;
  EXPECT_EQ(ImageHeaderProblem(deep), "lastLevel 17 is greater than 16");

  ImageHeader wide = ValidColourHeader();
  wide.valueBits[2] = 9;
  EXPECT_EQ(ImageHeaderProblem(wide), "valueBits of channel 2 is 9, more than 8");
  wide.bitsPerPixel = 8;  // channel 2 is not in use in a grey file
  EXPECT_EQ(ImageHeaderProblem(wide), "");

  ImageHeader odd = ValidColourHeader();
  odd.width = 72;  // a multiple of 8 but not of 2^(3 + 1)
  EXPECT_EQ(ImageHeaderProblem(odd), "width 72 is not a multiple of 2^(lastLevel + 1) = 16");
  odd.width = 64;
  odd.height = 40;
  EXPECT_EQ(ImageHeaderProblem(odd), "height 40 is not a multiple of 2^(lastLevel + 1) = 16");

  ImageHeader huge = ValidColourHeader();
  huge.width = huge.height = 8192;  // 64 Mpixel: far beyond 1 GiB of working memory
  EXPECT_NE(ImageHeaderProblem(huge).find("more than 1 GiB"), std::string::npos);
  huge.width = huge.height = 4096;  // 16 Mpixel colour still fits
  EXPECT_EQ(ImageHeaderProblem(huge), "");
}

TEST(HwlFormat, ColourWorkingMemoryStaysWithin48BytesPerPixel) {
  ImageHeader header = ValidColourHeader();
  header.width = header.height = 1024;
  // A dense file: every coefficient its own symbol and value.
  header.symbolCount = {1024 * 1024, 1024 * 1024, 1024 * 1024};
  header.valueCount = header.symbolCount;
  EXPECT_LE(DecodeWorkingMemory(header), 48u * 1024 * 1024);
}

}  // namespace
