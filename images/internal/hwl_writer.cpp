#include "images/internal/hwl_writer.h"

#include <bit>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "images/internal/hwl_packing.h"
#include "images/internal/hwl_symboliser.h"
#include "base/diagnostics.h"

namespace {

// The file being written. A failed write or rewind is remembered rather than reported at once: the
// picture goes on being written into nothing, and Close reports the failure.
class FileSink {
 public:
  explicit FileSink(std::string name) : name_(std::move(name)) {}
  ~FileSink() {
    if (file_) std::fclose(file_);
  }
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  MaybeFailure Open() {
    file_ = std::fopen(name_.c_str(), "wb");
    if (!file_) return Failure::IoFromErrno(name_, errno, IoAccess::Write);
    return std::nullopt;
  }
  void Write(const void* data, std::size_t size) {
    if (size != 0 && std::fwrite(data, 1, size, file_) != size) failed_ = true;
  }
  void Rewind() {
    if (std::fseek(file_, 0, SEEK_SET) != 0) failed_ = true;
  }
  MaybeFailure Close() {
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0 || failed_) return Failure::Io(IoErrorCode::WriteFault, name_);
    return std::nullopt;
  }

 private:
  std::string name_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

ImageHeader BuildHeader(std::uint32_t W, std::uint32_t H, int bitsPerPixel, int lastLevel, const ChannelBits& bits) {
  ImageHeader header;
  header.signature = {'H', 'W', 'L'};
  header.width = static_cast<std::uint16_t>(W);
  header.height = static_cast<std::uint16_t>(H);
  header.bitsPerPixel = static_cast<std::uint8_t>(bitsPerPixel);
  header.lastLevel = static_cast<std::uint8_t>(lastLevel);
  for (int c = 0; c < ChannelCount(header); ++c) header.valueBits[c] = static_cast<std::uint8_t>(bits[c]);
  return header;
}

void WriteHeader(FileSink& sink, const ImageHeader& header) {
  const ImageHeaderBytes bytes = SerializeImageHeader(header);
  sink.Write(bytes.data(), bytes.size());
}

void WriteScaleTable(FileSink& sink, const double* table, int lastLevel) {
  std::vector<std::uint8_t> bytes;
  for (int k = 0; k < lastLevel + 2; ++k) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(table[k]);
    for (int b = 0; b < 64; b += 8) bytes.push_back(static_cast<std::uint8_t>(bits >> b));
  }
  sink.Write(bytes.data(), bytes.size());
}

// One channel's streams, coded and packed in the same W × H work buffers.
class ChannelCoder {
 public:
  ChannelCoder(std::uint32_t W, std::uint32_t H) : W_(W), H_(H), symbols_(std::size_t{W} * H), values_(symbols_.size()) {}

  void Code(const std::int32_t* plane, int valueBits, ImageHeader& header, int channel) {
    std::uint32_t symbolCount = 0;
    std::uint32_t valueCount = 0;
    Symbolise(plane, symbols_, symbolCount, values_, valueCount, W_, H_, valueBits);
    symbolBytes_ = PackSymbolsInPlace(symbols_, symbolCount);
    valueBytes_ = PackValuesInPlace(values_, valueCount, valueBits);
    header.symbolCount[channel] = symbolCount;
    header.valueCount[channel] = valueCount;
  }

  void WriteStreams(FileSink& sink) const {
    sink.Write(symbols_.data(), symbolBytes_);
    sink.Write(values_.data(), valueBytes_);
  }

 private:
  std::uint32_t W_;
  std::uint32_t H_;
  std::vector<std::uint8_t> symbols_;
  std::vector<std::uint8_t> values_;
  std::size_t symbolBytes_ = 0;
  std::size_t valueBytes_ = 0;
};

ImageHeader WriteImage(FileSink& sink, const ChannelPlanes& planes, std::uint32_t W, std::uint32_t H,
                       int bitsPerPixel, int lastLevel, const ChannelScales& scales, const ChannelBits& valueBits) {
  ImageHeader header = BuildHeader(W, H, bitsPerPixel, lastLevel, valueBits);
  const int channels = ChannelCount(header);
  if (channels == 0) {
    WriteHeader(sink, header);
    return header;
  }
  ChannelCoder coder(W, H);
  coder.Code(planes[0], valueBits[0], header, 0);
  WriteHeader(sink, header);
  for (int c = 0; c < channels; ++c) WriteScaleTable(sink, scales[c], lastLevel);
  coder.WriteStreams(sink);
  for (int c = 1; c < channels; ++c) {
    coder.Code(planes[c], valueBits[c], header, c);
    coder.WriteStreams(sink);
  }
  if (channels == 3) {
    sink.Rewind();
    WriteHeader(sink, header);
  }
  return header;
}

}  // namespace

MaybeFailure WriteImageFile(const std::string& fileName, const ChannelPlanes& planes, std::uint32_t W,
                            std::uint32_t H, int bitsPerPixel, int lastLevel, const ChannelScales& scales,
                            const ChannelBits& valueBits, ImageHeader& written) {
  FileSink sink(fileName);
  if (MaybeFailure failure = sink.Open()) return failure;
  written = WriteImage(sink, planes, W, H, bitsPerPixel, lastLevel, scales, valueBits);
  return sink.Close();
}
