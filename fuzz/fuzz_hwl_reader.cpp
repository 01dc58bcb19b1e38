// The .hwl reader on any bytes: header, scale tables, symbol and value streams, decoding.
//
// Each input is read as a whole file from a seekable stream (which lets the reader see a short file
// before it allocates anything), then a second time from a stream that cannot seek, into a buffer the
// caller sized: both readings must end the same way and give the same pixels. Every outcome, the
// runtime I/O error of a short file included, is a result, and a reading that decodes nothing leaves
// the caller's buffer as it was.
//
// Pictures stay small here, not in the reader: an input whose header announces more than kMaxPixels
// pixels, or a side longer than kMaxSide, is skipped before it is read. Otherwise the fuzzer drifts
// towards ever larger pictures and spends its time decoding them (a few dozen inputs a second)
// instead of varying the streams; a 16 × 16 colour picture read twice already costs about half a
// millisecond under the sanitizers. The long side stays long enough for the empty pictures of
// thousands of rows that once crashed the reader. The reader's own limits on large pictures are the
// unit tests' to check.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <span>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "images/hwl.h"

namespace {

constexpr std::uint64_t kMaxPixels = 16 * 16;
constexpr std::uint16_t kMaxSide = 4096;

bool TooLarge(const ImageHeader& header) {
  return std::uint64_t{header.width} * header.height > kMaxPixels || header.width > kMaxSide ||
         header.height > kMaxSide;
}

// Memory read through a stream that cannot tell its position or length.
class UnseekableBuffer : public std::streambuf {
 public:
  UnseekableBuffer(const std::uint8_t* data, std::size_t size) {
    char* begin = const_cast<char*>(reinterpret_cast<const char*>(data));
    setg(begin, begin, begin + size);
  }
};

struct Reading {
  ImageLoadStatus status = ImageLoadStatus::Unreadable;
  ImageHeader header;
  std::vector<std::uint8_t> pixels;
};

// Reads `stream` into `pixels`; whatever is not decoded must leave `pixels` alone.
Reading Read(std::istream& stream, std::vector<std::uint8_t> pixels, bool allocate) {
  Reading reading;
  const std::vector<std::uint8_t> before = pixels;
  const ImageLoadResult result = LoadImageFile(pixels, reading.header, stream, allocate, "fuzz input");
  FUZZ_CHECK(result.decoded() == result.problem.empty());
  FUZZ_CHECK(result.failure.has_value() == (result.status == ImageLoadStatus::Unreadable));
  if (result.failure) FUZZ_CHECK(*result.failure == Failure::Io(IoErrorCode::ReadPastEnd, "fuzz input"));
  if (!result.decoded()) FUZZ_CHECK(pixels == before);
  reading.status = result.status;
  reading.pixels = std::move(pixels);
  return reading;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const bool headerComplete = size >= kImageHeaderSize;
  const ImageHeader parsed =
      headerComplete ? ParseImageHeader(std::span<const std::uint8_t, kImageHeaderSize>(data, kImageHeaderSize))
                     : ImageHeader{};
  if (TooLarge(parsed)) return 0;

  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::istringstream seekable(bytes);
  const Reading first = Read(seekable, {1, 2, 3}, true);
  FUZZ_CHECK(headerComplete || first.status == ImageLoadStatus::Unreadable);
  if (!headerComplete) return 0;
  FUZZ_CHECK(SerializeImageHeader(first.header) == SerializeImageHeader(parsed));
  if (first.status == ImageLoadStatus::Decoded) FUZZ_CHECK(first.pixels.size() == PixelBufferBytes(parsed));

  UnseekableBuffer buffer(data, size);
  std::istream unseekable(&buffer);
  const Reading second = Read(unseekable, std::vector<std::uint8_t>(PixelBufferBytes(parsed), 0xA5), false);
  FUZZ_CHECK(second.status == first.status);
  if (first.status == ImageLoadStatus::Decoded) FUZZ_CHECK(second.pixels == first.pixels);
  return 0;
}
