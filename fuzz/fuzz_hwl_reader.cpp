// The .hwl reader on any bytes: header, scale tables, symbol and value streams, decoding.
//
// Each input is read as a whole file from a seekable stream (which lets the reader see a short file
// before it allocates anything). Small pictures are read a second time from a stream that cannot
// seek, into a buffer the caller sized, and must give the same outcome and the same pixels.
// Every outcome, the runtime I/O error of a short file included, is a result.
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

// Memory read through a stream that cannot tell its position or length.
class UnseekableBuffer : public std::streambuf {
 public:
  UnseekableBuffer(const std::uint8_t* data, std::size_t size) {
    char* begin = const_cast<char*>(reinterpret_cast<const char*>(data));
    setg(begin, begin, begin + size);
  }
};

enum class Outcome { Decoded, NoPicture, Refused, ShortFile };

struct Reading {
  Outcome outcome = Outcome::ShortFile;
  ImageHeader header;
};

Reading Read(std::istream& stream, std::vector<std::uint8_t>& pixels, bool allocate) {
  Reading reading;
  const ImageLoadResult result = LoadImageFile(pixels, reading.header, stream, allocate, "fuzz input");
  FUZZ_CHECK(result.decoded() == result.problem.empty());
  FUZZ_CHECK(result.failure.has_value() == (result.status == ImageLoadStatus::Unreadable));
  switch (result.status) {
    case ImageLoadStatus::Decoded: reading.outcome = Outcome::Decoded; break;
    case ImageLoadStatus::NoPicture: reading.outcome = Outcome::NoPicture; break;
    case ImageLoadStatus::Refused: reading.outcome = Outcome::Refused; break;
    case ImageLoadStatus::Unreadable:
      FUZZ_CHECK(*result.failure == Failure::Io(IoErrorCode::ReadPastEnd, "fuzz input"));
      reading.outcome = Outcome::ShortFile;
      break;
  }
  return reading;
}

// Pictures this small are worth reading twice.
constexpr std::uint64_t kSecondReadingBytes = std::uint64_t{2} << 20;

void ReadUnseekable(const std::uint8_t* data, std::size_t size, const Reading& first,
                    const std::vector<std::uint8_t>& firstPixels) {
  UnseekableBuffer buffer(data, size);
  std::istream stream(&buffer);
  std::vector<std::uint8_t> pixels(PixelBufferBytes(first.header), 0xA5);
  const Reading second = Read(stream, pixels, false);
  FUZZ_CHECK(second.outcome == first.outcome);
  if (first.outcome == Outcome::Decoded) FUZZ_CHECK(pixels == firstPixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::istringstream stream(bytes);
  const std::vector<std::uint8_t> untouched{1, 2, 3};
  std::vector<std::uint8_t> pixels = untouched;
  const Reading first = Read(stream, pixels, true);
  if (size < kImageHeaderSize) {
    FUZZ_CHECK(first.outcome == Outcome::ShortFile);
    return 0;
  }
  const ImageHeader parsed = ParseImageHeader(std::span<const std::uint8_t, kImageHeaderSize>(data, kImageHeaderSize));
  FUZZ_CHECK(SerializeImageHeader(first.header) == SerializeImageHeader(parsed));
  if (first.outcome == Outcome::Decoded) {
    FUZZ_CHECK(pixels.size() == PixelBufferBytes(parsed));
  } else {
    FUZZ_CHECK(pixels == untouched);
  }
  if (ChannelCount(parsed) != 0 && ImageHeaderProblem(parsed).empty() &&
      PixelBufferBytes(parsed) <= kSecondReadingBytes) {
    ReadUnseekable(data, size, first, pixels);
  }
  return 0;
}
