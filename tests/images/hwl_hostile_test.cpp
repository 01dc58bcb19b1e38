// Files a reader must refuse, unreadable and truncated files, random bytes: no crash, no access
// outside any buffer (this group also runs under AddressSanitizer), the caller's buffer untouched,
// deterministic results.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <sstream>

#include "tests/images/codec_test_support.h"

namespace {

const Bytes kUntouched{1, 2, 3};

struct Outcome {
  ImageLoadResult result;
  Bytes pixels = kUntouched;
  ImageHeader header;
};

Outcome LoadStream(const Bytes& file) {
  Outcome outcome;
  std::istringstream stream(std::string(file.begin(), file.end()));
  outcome.result = LoadImageFile(outcome.pixels, outcome.header, stream, true, "hostile.hwl");
  return outcome;
}

TEST(HwlHostile, HeadersAReaderMustRefuse) {
  const Bytes valid = SmoothColourFile(32, 32);  // lastLevel 4
  struct Row {
    const char* reason;
    std::function<void(ImageHeader&)> change;
  };
  const Row rows[] = {
      {"lastLevel 17", [](ImageHeader& h) { h.lastLevel = 17; }},
      {"valueBits of channel 1", [](ImageHeader& h) { h.valueBits[1] = 9; }},
      {"width 48", [](ImageHeader& h) { h.width = 48; }},
      {"more than 1 GiB", [](ImageHeader& h) { h.width = h.height = 65534, h.lastLevel = 0; }},
  };
  for (const Row& row : rows) {
    ImageHeader header = HeaderOf(valid);
    row.change(header);
    const Outcome outcome = LoadStream(WithHeader(valid, header));
    EXPECT_EQ(outcome.result.status, ImageLoadStatus::Refused) << row.reason;
    EXPECT_NE(outcome.result.problem.find(row.reason), std::string::npos) << outcome.result.problem;
    EXPECT_EQ(outcome.pixels, kUntouched) << row.reason;
  }
}

TEST(HwlHostile, OtherDepthsGiveNoPictureAndTouchNothing) {
  const Bytes valid = SmoothColourFile(16, 16);
  for (int depth : {0, 1, 16, 32, 255}) {
    ImageHeader header = HeaderOf(valid);
    header.bitsPerPixel = static_cast<std::uint8_t>(depth);
    header.lastLevel = 200;  // not refused: a depth without a picture is looked at first
    const Outcome outcome = LoadStream(WithHeader(valid, header));
    EXPECT_EQ(outcome.result.status, ImageLoadStatus::NoPicture) << depth;
    EXPECT_EQ(outcome.result.problem, "bitsPerPixel " + std::to_string(depth) + " is neither 8 nor 24");
    EXPECT_EQ(outcome.pixels, kUntouched);
    EXPECT_EQ(outcome.header.bitsPerPixel, depth);
  }
}

TEST(HwlHostile, CallerBufferTooSmallIsRefusedAndUntouched) {
  const Bytes valid = SmoothColourFile(16, 16);
  std::istringstream stream(std::string(valid.begin(), valid.end()));
  Bytes pixels(16 * 16 * 4 - 1, 5);
  ImageHeader header;
  EXPECT_EQ(LoadImageFile(pixels, header, stream, false).status, ImageLoadStatus::Refused);
  EXPECT_EQ(pixels, Bytes(16 * 16 * 4 - 1, 5));
}

TEST(HwlHostile, FilesThatCannotBeReadGiveTheRuntimeIoError) {
  const std::string folder = TempFile("folder");
  std::filesystem::create_directory(folder);
  const std::string missing = TempFile("absent.hwl"), unreachable = TempFile("absent") + "/a.hwl";
  const std::pair<std::string, IoErrorCode> rows[] = {{missing, IoErrorCode::FileNotFound},
                                                      {unreachable, IoErrorCode::PathNotFound},
                                                      {folder, IoErrorCode::AccessDenied}};
  for (const auto& [path, code] : rows) {
    Bytes pixels = kUntouched;
    ImageHeader header;
    const ImageLoadResult result = LoadImageFile(pixels, header, path, true);
    EXPECT_EQ(result.status, ImageLoadStatus::Unreadable) << path;
    EXPECT_EQ(result.failure, Failure::Io(code, path));
    EXPECT_EQ(result.problem, IoErrorText(code, path));
    EXPECT_EQ(pixels, kUntouched);
  }
}

// The offsets at which each block of a well-formed file starts.
std::vector<std::size_t> BlockStarts(const ImageHeader& header) {
  std::vector<std::size_t> starts{0, kImageHeaderSize};
  std::size_t offset = kImageHeaderSize;
  for (int c = 0; c < ChannelCount(header); ++c) starts.push_back(offset += ScaleTableBytes(header.lastLevel));
  for (int c = 0; c < ChannelCount(header); ++c) {
    starts.push_back(offset += SymbolStreamBytes(header.symbolCount[c]));
    starts.push_back(offset += ValueStreamBytes(header.valueCount[c], header.valueBits[c]));
  }
  starts.pop_back();  // the end of the file
  return starts;
}

TEST(HwlHostile, TruncatedFilesAreShortReadsThatTouchNothing) {
  HwlEncodeOptions options;
  options.valueBits = {8, 5, 3};
  const Bytes valid = SmoothColourFile(16, 16, options);
  // Every shorter length through the stream form.
  for (std::size_t length = 0; length < valid.size(); ++length) {
    const Outcome outcome = LoadStream(Bytes(valid.begin(), valid.begin() + std::ptrdiff_t(length)));
    ASSERT_EQ(outcome.result.failure, Failure::Io(IoErrorCode::ReadPastEnd, "hostile.hwl")) << "length " << length;
    ASSERT_EQ(outcome.pixels, kUntouched);
  }
  // Block boundaries through the file form: the failure names the file.
  for (std::size_t boundary : BlockStarts(HeaderOf(valid))) {
    const std::string path = TempFile("truncated.hwl");
    WriteFileBytes(path, Bytes(valid.begin(), valid.begin() + std::ptrdiff_t(boundary)));
    Bytes pixels;
    ImageHeader header;
    EXPECT_EQ(LoadImageFile(pixels, header, path, true).failure, Failure::Io(IoErrorCode::ReadPastEnd, path))
        << "cut at " << boundary;
  }
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
    ASSERT_TRUE(first.result.decoded()) << trial << ": " << first.result.problem;
    ASSERT_EQ(first.pixels.size(), PixelBufferBytes(header));
    ASSERT_EQ(LoadStream(file).pixels, first.pixels) << trial;
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
    const bool asDecoded = outcome.result.decoded() ? outcome.pixels.size() == PixelBufferBytes(outcome.header)
                                                    : outcome.pixels == kUntouched;
    ASSERT_TRUE(asDecoded) << trial << ": " << outcome.result.problem;
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

}  // namespace
