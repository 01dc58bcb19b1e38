// The .hwl reader on any bytes: header, scale tables, symbol and value streams, decoding.
//
// Each input is read as a whole file from a seekable stream (which lets the reader see a short file
// before it allocates anything). Small pictures are read a second time from a stream that cannot
// seek, into a buffer the caller sized, and must give the same outcome and the same pixels.
// The runtime I/O error comes back as an exception; anything else the reader does is a result.
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
#include "base/failure_trap.h"

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
  try {
    const ImageLoadResult result = LoadImageFile(pixels, reading.header, stream, allocate, "fuzz input");
    if (result.status == ImageLoadStatus::Decoded) {
      FUZZ_CHECK(result.problem.empty());
      reading.outcome = Outcome::Decoded;
    } else {
      FUZZ_CHECK(!result.problem.empty());
      reading.outcome = result.status == ImageLoadStatus::Refused ? Outcome::Refused : Outcome::NoPicture;
    }
  } catch (const IoErrorRaised& error) {
    FUZZ_CHECK(error.code == 100);
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
  FailureTrap trap;
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
  } else if (first.outcome != Outcome::ShortFile) {
    FUZZ_CHECK(pixels == untouched);
  }
  if (ChannelCount(parsed) != 0 && ImageHeaderProblem(parsed).empty() &&
      PixelBufferBytes(parsed) <= kSecondReadingBytes) {
    ReadUnseekable(data, size, first, pixels);
  }
  return 0;
}
