// Files a reader must refuse, truncated files and random bytes: no crash, no access outside any
// buffer (this group also runs under AddressSanitizer), deterministic results.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "images/internal/hwl_coefficients.h"
#include "images/hwl.h"
#include "tests/images/codec_test_support.h"

namespace {

struct Outcome {
  ImageLoadResult result;
  std::vector<std::uint8_t> pixels;
  ImageHeader header;
  int ioErrorCode = 0;
};

Outcome LoadStream(const Bytes& file) {
  Outcome outcome;
  outcome.pixels = {1, 2, 3};  // must stay untouched unless decoding succeeds
  std::istringstream stream(std::string(file.begin(), file.end()));
  outcome.result = LoadImageFile(outcome.pixels, outcome.header, stream, true, "hostile.hwl");
  if (outcome.result.failure) {
    outcome.ioErrorCode = static_cast<int>(outcome.result.failure->code);
    EXPECT_EQ(outcome.result.failure->file, "hostile.hwl");
  }
  return outcome;
}

Bytes WithHeader(Bytes file, const ImageHeader& header) {
  const ImageHeaderBytes bytes = SerializeImageHeader(header);
  std::copy(bytes.begin(), bytes.end(), file.begin());
  return file;
}

ImageHeader HeaderOf(const Bytes& file) {
  return ParseImageHeader(std::span<const std::uint8_t, kImageHeaderSize>(file.data(), kImageHeaderSize));
}

void ExpectRefused(const Bytes& file, const std::string& reason) {
  const Outcome outcome = LoadStream(file);
  EXPECT_EQ(outcome.ioErrorCode, 0);
  EXPECT_EQ(outcome.result.status, ImageLoadStatus::Refused);
  EXPECT_NE(outcome.result.problem.find(reason), std::string::npos) << outcome.result.problem;
  EXPECT_EQ(outcome.pixels, (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(HwlHostile, HeadersAReaderMustRefuse) {
  const Bytes valid = SmoothColourFile(32, 32);
  ImageHeader header = HeaderOf(valid);

  ImageHeader deep = header;
  deep.lastLevel = 17;
  ExpectRefused(WithHeader(valid, deep), "lastLevel 17");

  ImageHeader wide = header;
  wide.valueBits[1] = 9;
  ExpectRefused(WithHeader(valid, wide), "valueBits of channel 1");

  ImageHeader odd = header;
  odd.width = 48;  // 32 × 32 at lastLevel 4 needs multiples of 32
  ExpectRefused(WithHeader(valid, odd), "width 48");

  ImageHeader huge = header;
  huge.width = huge.height = 65534;
  huge.lastLevel = 0;
  ExpectRefused(WithHeader(valid, huge), "more than 1 GiB");
}

TEST(HwlHostile, OtherDepthsGiveNoPictureAndTouchNothing) {
  const Bytes valid = SmoothColourFile(16, 16);
  for (int depth : {0, 1, 16, 32, 255}) {
    ImageHeader header = HeaderOf(valid);
    header.bitsPerPixel = static_cast<std::uint8_t>(depth);
    header.lastLevel = 200;  // not refused: a depth without a picture is looked at first
    const Outcome outcome = LoadStream(WithHeader(valid, header));
    EXPECT_EQ(outcome.result.status, ImageLoadStatus::NoPicture) << depth;
    EXPECT_EQ(outcome.pixels, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(outcome.header.bitsPerPixel, depth);
  }
}

TEST(HwlHostile, CallerBufferTooSmallIsRefusedWithoutAllocation) {
  const Bytes valid = SmoothColourFile(16, 16);
  std::istringstream stream(std::string(valid.begin(), valid.end()));
  std::vector<std::uint8_t> pixels(16 * 16 * 4 - 1, 5);
  ImageHeader header;
  EXPECT_EQ(LoadImageFile(pixels, header, stream, false).status, ImageLoadStatus::Refused);
  EXPECT_EQ(pixels, std::vector<std::uint8_t>(16 * 16 * 4 - 1, 5));
}

TEST(HwlHostile, TruncatedFilesEndInTheRuntimeIoError) {
  HwlEncodeOptions options;
  options.valueBits = {8, 5, 3};
  const Bytes valid = SmoothColourFile(16, 16, options);
  // Every shorter length, block boundaries included, through the stream form.
  for (std::size_t length = 0; length < valid.size(); ++length) {
    const Outcome outcome = LoadStream(Bytes(valid.begin(), valid.begin() + std::ptrdiff_t(length)));
    ASSERT_EQ(outcome.ioErrorCode, 100) << "length " << length;
    ASSERT_EQ(outcome.pixels, (std::vector<std::uint8_t>{1, 2, 3}));
  }
  // Block boundaries through the file form: the error names the file.
  for (std::size_t boundary : BlockBoundaries(HeaderOf(valid))) {
    if (boundary >= valid.size()) continue;
    const std::string path = TempFile("truncated.hwl");
    WriteFileBytes(path, Bytes(valid.begin(), valid.begin() + std::ptrdiff_t(boundary)));
    std::vector<std::uint8_t> pixels;
    ImageHeader header;
    const ImageLoadResult result = LoadImageFile(pixels, header, path, true);
    ASSERT_EQ(result.status, ImageLoadStatus::Unreadable) << "a file cut at " << boundary;
    EXPECT_EQ(result.failure, Failure::Io(IoErrorCode::ReadPastEnd, path));
    EXPECT_EQ(result.problem, "I/O error 100 (read past the end of the file): " + path);
  }
}

TEST(HwlHostile, MissingFileIsTheRuntimeIoError) {
  std::vector<std::uint8_t> pixels;
  ImageHeader header;
  const std::string missing = TempFile("absent.hwl");
  EXPECT_EQ(LoadImageFile(pixels, header, missing, true).failure, Failure::Io(IoErrorCode::FileNotFound, missing));
}

TEST(HwlHostile, RandomBodiesAfterValidHeadersDecodeDeterministically) {
  std::mt19937 random(2024);
  for (int trial = 0; trial < 300; ++trial) {
    ImageHeader header;
    header.bitsPerPixel = trial % 2 ? 24 : 8;
    header.lastLevel = static_cast<std::uint8_t>(random() % 4);
    const std::uint32_t block = 1u << (header.lastLevel + 1);
    header.width = static_cast<std::uint16_t>(block * (1 + random() % 3));
    header.height = static_cast<std::uint16_t>(block * (1 + random() % 3));
    for (int c = 0; c < 3; ++c) {
      header.symbolCount[c] = random() % 400;
      header.valueCount[c] = random() % 300;
      header.valueBits[c] = static_cast<std::uint8_t>(random() % 9);
    }
    Bytes file(ExpectedFileSize(header) + random() % 4);
    for (auto& byte : file) byte = static_cast<std::uint8_t>(random());
    file = WithHeader(file, header);
    const Outcome first = LoadStream(file);
    ASSERT_EQ(first.ioErrorCode, 0) << trial;
    ASSERT_TRUE(first.result.decoded()) << trial << ": " << first.result.problem;
    ASSERT_EQ(first.pixels.size(), PixelBufferBytes(header));
    const Outcome second = LoadStream(file);
    ASSERT_EQ(first.pixels, second.pixels) << trial;
  }
}

TEST(HwlHostile, RandomBytesEverywhereNeverCrash) {
  std::mt19937 random(77);
  for (int trial = 0; trial < 2000; ++trial) {
    Bytes file(random() % 300);
    for (auto& byte : file) byte = static_cast<std::uint8_t>(random());
    if (file.size() >= 8 && trial % 3 != 0) {
      file[7] = trial % 2 ? 24 : 8;  // mostly usable depths, so decoding gets further
      file[3] = static_cast<std::uint8_t>(file[3] & 0x3F);
      file[4] = file[6] = 0;
    }
    const Outcome outcome = LoadStream(file);
    if (outcome.result.decoded()) {
      ASSERT_EQ(outcome.pixels.size(), PixelBufferBytes(outcome.header));
    }
  }
}

TEST(HwlHostile, ClaimedCountsBeyondThePlaneCostNothing) {
  // Four billion values of 0 bits take no bytes in the file; only what the plane can use is unpacked.
  const Bytes grey = SmoothGreyPixels(16, 16);
  Bytes file = EncodeToBytes({grey.data(), 16, 16, 1}, {});
  ImageHeader header = HeaderOf(file);
  header.valueBits[0] = 0;
  header.valueCount[0] = 0xFFFFFFFF;
  file = WithHeader(file, header);
  file.resize(ExpectedFileSize(header));
  const Outcome first = LoadStream(file);
  ASSERT_TRUE(first.result.decoded()) << first.result.problem;
  EXPECT_EQ(first.pixels.size(), 256u);
  EXPECT_EQ(LoadStream(file).pixels, first.pixels);
}

TEST(HwlHostile, RunsPastThePlaneStayInside) {
  // Exactly W × H entries: AddressSanitizer sees any write past them.
  std::vector<std::int32_t> plane(6, 9);
  const Bytes symbols{2, 1, 3, 1, 3, 1};
  const Bytes values{7, 255, 255, 255};
  DecodeCoefficients(symbols, values, 3, 2, 8, plane.data());
  EXPECT_EQ(plane, (std::vector<std::int32_t>{7, 0, 0, 0, 0, 0}));
  // Symbol bytes above 3 and a value width above 8 still stay inside.
  std::vector<std::int32_t> small(4, 9);
  DecodeCoefficients(Bytes{0xFF, 0x7D, 0x01, 0x03}, Bytes{200, 200}, 2, 2, 40, small.data());
  EXPECT_EQ(small, (std::vector<std::int32_t>{-200, 0, 0, 0}));
}

}  // namespace
