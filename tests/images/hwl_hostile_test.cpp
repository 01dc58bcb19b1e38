// Files a reader must refuse, truncated files, random bytes: no crash, no access outside any buffer
// (this group also runs under AddressSanitizer), the caller's buffer untouched, the same every time.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "tests/images/codec_test_support.h"

namespace {

const Bytes kUntouched{1, 2, 3};

struct Outcome {
  ImageLoadResult result;
  Bytes pixels = kUntouched;  // what the caller's buffer holds afterwards
  ImageHeader header;
};

// Memory read through a stream that cannot tell its length, so that a short file is found only by
// reading past its end.
struct UnseekableBuffer : std::streambuf {
  explicit UnseekableBuffer(Bytes& bytes) {
    char* begin = reinterpret_cast<char*>(bytes.data());
    setg(begin, begin, begin + bytes.size());
  }
};

Outcome LoadStream(Bytes file, bool seekable = true) {
  Outcome outcome;
  std::istringstream seekableStream(ToString(file));
  UnseekableBuffer buffer(file);
  std::istream unseekableStream(&buffer);
  std::istream& stream = seekable ? static_cast<std::istream&>(seekableStream) : unseekableStream;
  outcome.result = LoadImageFile(outcome.pixels, outcome.header, stream, true, "hostile.hwl");
  return outcome;
}

// The header's own refusals are worked through in hwl_format_test; here the loader's order and what
// it leaves to the caller.
TEST(HwlHostile, HeadersRefusedOrWithoutAPictureTouchNothing) {
  const Bytes valid = SmoothColourFile(32, 32);  // lastLevel 4
  const struct Row {
    std::uint8_t bitsPerPixel, lastLevel;
    ImageLoadStatus status;
    std::string problem;  // a part of it
  } rows[] = {
      {24, 17, ImageLoadStatus::Refused, "lastLevel 17 is greater than 16"},
      // A depth without a picture is looked at first: such a lastLevel is no refusal then.
      {0, 200, ImageLoadStatus::NoPicture, "bitsPerPixel 0 is neither 8 nor 24"},
      {32, 4, ImageLoadStatus::NoPicture, "bitsPerPixel 32 is neither"},
  };
  for (const Row& row : rows) {
    ImageHeader header = HeaderOf(valid);
    header.bitsPerPixel = row.bitsPerPixel, header.lastLevel = row.lastLevel;
    const Outcome outcome = LoadStream(WithHeader(valid, header));
    EXPECT_EQ(outcome.result.status, row.status) << row.problem;
    EXPECT_NE(outcome.result.problem.find(row.problem), std::string::npos) << outcome.result.problem;
    EXPECT_EQ(SerializeImageHeader(outcome.header), SerializeImageHeader(header)) << "the caller sees the header";
    EXPECT_EQ(outcome.pixels, kUntouched) << row.problem;
  }
}

// A buffer of the caller's own: one byte short is refused, a larger one gets the picture, nothing more.
TEST(HwlHostile, CallerBufferMustHoldThePictureAndOnlyThePictureIsWritten) {
  const Bytes valid = SmoothColourFile(16, 16), picture = ReferenceDecode(valid);
  for (const bool fits : {false, true}) {
    std::istringstream stream(ToString(valid));
    Bytes pixels(fits ? picture.size() + 16 : picture.size() - 1, 5), expected = fits ? picture : Bytes();
    ImageHeader header;
    const ImageLoadStatus status = LoadImageFile(pixels, header, stream, false).status;
    EXPECT_EQ(status, fits ? ImageLoadStatus::Decoded : ImageLoadStatus::Refused);
    expected.resize(pixels.size(), 5);
    EXPECT_EQ(pixels, expected) << (fits ? "a larger buffer" : "one byte short");
  }
}

TEST(HwlHostile, TruncatedFilesAreShortReadsThatTouchNothing) {
  const Bytes valid = SmoothColourFile(16, 16, {{}, {8, 5, 3}, {}, false});
  // Every length, block boundaries among them; a stream that cannot tell its length fails only in
  // the middle of a block.
  for (std::size_t length = 0; length < 2 * valid.size(); ++length) {
    const Outcome outcome = LoadStream(Bytes(valid.begin(), valid.begin() + std::ptrdiff_t(length / 2)), length % 2);
    ASSERT_EQ(outcome.result.failure, Failure::Io(IoErrorCode::ReadPastEnd, "hostile.hwl")) << length / 2;
    ASSERT_EQ(outcome.pixels, kUntouched) << length / 2;
  }
}

// Every eighth file a decodable header with random counts and widths: streams that run out or overrun
// the plane anywhere, random scales (NaN and infinities among them) in a body of random bytes. The
// others random bytes, mostly with a usable depth and a small size so that decoding gets further.
Bytes RandomFile(std::mt19937& random, int trial) {
  const bool body = trial % 8 == 0;
  ImageHeader header;
  header.bitsPerPixel = trial / 8 % 2 ? 24 : 8;
  header.lastLevel = static_cast<std::uint8_t>(random() % 4);
  const std::uint32_t block = 1u << (header.lastLevel + 1);
  header.width = static_cast<std::uint16_t>(block * (1 + random() % 3));
  header.height = static_cast<std::uint16_t>(block * (1 + random() % 3));
  for (int c = 0; c < 3; ++c) {
    header.symbolCount[c] = random() % 400;
    header.valueCount[c] = random() % 300;
    header.valueBits[c] = static_cast<std::uint8_t>(random() % 9);
  }
  Bytes file(body ? ExpectedFileSize(header) + random() % 4 : random() % 300);
  for (auto& byte : file) byte = static_cast<std::uint8_t>(random());
  if (body) return WithHeader(file, header);
  if (file.size() >= 8 && trial % 3 != 0) {
    file[7] = trial % 2 ? 24 : 8;
    file[3] = static_cast<std::uint8_t>(file[3] & 0x3F);
    file[4] = file[6] = 0;
  }
  return file;
}

TEST(HwlHostile, RandomFilesDecodeAsTheReferenceDoesOrTouchNothing) {
  std::mt19937 random(2024);
  for (int trial = 0; trial < 2400; ++trial) {
    const Bytes file = RandomFile(random, trial);
    const Outcome outcome = LoadStream(file);
    ASSERT_TRUE(outcome.result.decoded() || trial % 8 != 0) << trial << ": " << outcome.result.problem;
    ASSERT_EQ(outcome.pixels, outcome.result.decoded() ? ReferenceDecode(file) : kUntouched) << trial;
  }
}

TEST(HwlHostile, ClaimedCountsBeyondThePlaneCostNothing) {
  // Four billion values of 0 bits take no bytes in the file; only what the plane can use is unpacked.
  const Bytes grey = SmoothGreyPixels(16, 16);
  Bytes file = EncodeToBytes({grey.data(), 16, 16, 1}, {});
  ImageHeader header = HeaderOf(file);
  header.valueBits[0] = 0, header.valueCount[0] = 0xFFFFFFFF;
  file = WithHeader(file, header);
  file.resize(ExpectedFileSize(header));
  const Outcome first = LoadStream(file);
  ASSERT_TRUE(first.result.decoded()) << first.result.problem;
  EXPECT_EQ(first.pixels.size(), 256u);
  EXPECT_EQ(LoadStream(file).pixels, first.pixels);
}

}  // namespace
