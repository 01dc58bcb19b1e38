#include "images/internal/hwl_format.h"

#include <algorithm>

namespace {

class HeaderReader {
 public:
  explicit HeaderReader(std::span<const std::uint8_t, kImageHeaderSize> bytes) : bytes_(bytes) {}
  std::uint8_t Byte() { return bytes_[offset_++]; }
  std::uint16_t Uint16() {
    const std::uint16_t low = Byte();
    return static_cast<std::uint16_t>(low | (Byte() << 8));
  }
  std::uint32_t Uint32() {
    std::uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8) value |= std::uint32_t{Byte()} << shift;
    return value;
  }

 private:
  std::span<const std::uint8_t, kImageHeaderSize> bytes_;
  std::size_t offset_ = 0;
};

class HeaderWriter {
 public:
  void Byte(std::uint8_t value) { bytes_[offset_++] = value; }
  void Uint16(std::uint16_t value) {
    Byte(static_cast<std::uint8_t>(value));
    Byte(static_cast<std::uint8_t>(value >> 8));
  }
  void Uint32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) Byte(static_cast<std::uint8_t>(value >> shift));
  }
  const ImageHeaderBytes& bytes() const { return bytes_; }

 private:
  ImageHeaderBytes bytes_{};
  std::size_t offset_ = 0;
};

std::uint64_t PixelCount(const ImageHeader& header) {
  return std::uint64_t{header.width} * header.height;
}

bool IsMultipleOfBlock(std::uint32_t size, int lastLevel) {
  const std::uint32_t block = std::uint32_t{1} << (lastLevel + 1);
  return size % block == 0;
}

std::string ChannelValueBitsProblem(const ImageHeader& header) {
  for (int channel = 0; channel < ChannelCount(header); ++channel) {
    if (header.valueBits[channel] > kMaxValueBits) {
      return "valueBits of channel " + std::to_string(channel) + " is " +
             std::to_string(header.valueBits[channel]) + ", more than 8";
    }
  }
  return "";
}

std::string SizeProblem(const ImageHeader& header) {
  const std::string block = "2^(lastLevel + 1) = " + std::to_string(1u << (header.lastLevel + 1));
  if (!IsMultipleOfBlock(header.width, header.lastLevel)) {
    return "width " + std::to_string(header.width) + " is not a multiple of " + block;
  }
  if (!IsMultipleOfBlock(header.height, header.lastLevel)) {
    return "height " + std::to_string(header.height) + " is not a multiple of " + block;
  }
  return "";
}

}  // namespace

ImageHeader ParseImageHeader(std::span<const std::uint8_t, kImageHeaderSize> bytes) {
  HeaderReader reader(bytes);
  ImageHeader header;
  for (auto& letter : header.signature) letter = reader.Byte();
  header.width = reader.Uint16();
  header.height = reader.Uint16();
  header.bitsPerPixel = reader.Byte();
  header.lastLevel = reader.Byte();
  for (auto& count : header.symbolCount) count = reader.Uint32();
  for (auto& count : header.valueCount) count = reader.Uint32();
  for (auto& bits : header.valueBits) bits = reader.Byte();
  return header;
}

ImageHeaderBytes SerializeImageHeader(const ImageHeader& header) {
  HeaderWriter writer;
  for (auto letter : header.signature) writer.Byte(letter);
  writer.Uint16(header.width);
  writer.Uint16(header.height);
  writer.Byte(header.bitsPerPixel);
  writer.Byte(header.lastLevel);
  for (auto count : header.symbolCount) writer.Uint32(count);
  for (auto count : header.valueCount) writer.Uint32(count);
  for (auto bits : header.valueBits) writer.Byte(bits);
  return writer.bytes();
}

int ChannelCount(const ImageHeader& header) {
  if (header.bitsPerPixel == 8) return 1;
  if (header.bitsPerPixel == 24) return 3;
  return 0;
}

std::uint64_t ScaleTableBytes(int lastLevel) { return 8 * (std::uint64_t(lastLevel) + 2); }

std::uint64_t SymbolStreamBytes(std::uint32_t symbolCount) { return (std::uint64_t{symbolCount} + 3) / 4; }

std::uint64_t ValueStreamBytes(std::uint32_t valueCount, int valueBits) {
  return (std::uint64_t{valueCount} * std::uint64_t(valueBits) + 7) / 8;
}

std::uint64_t ExpectedFileSize(const ImageHeader& header) {
  std::uint64_t size = kImageHeaderSize;
  for (int channel = 0; channel < ChannelCount(header); ++channel) {
    size += ScaleTableBytes(header.lastLevel) + SymbolStreamBytes(header.symbolCount[channel]) +
            ValueStreamBytes(header.valueCount[channel], header.valueBits[channel]);
  }
  return size;
}

std::uint32_t UsableSymbols(const ImageHeader& header, int channel) {
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(header.symbolCount[channel], 2 * PixelCount(header)));
}

std::uint32_t UsableValues(const ImageHeader& header, int channel) {
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(header.valueCount[channel], PixelCount(header)));
}

std::uint64_t DecodeWorkingMemory(const ImageHeader& header) {
  const int channels = ChannelCount(header);
  const std::uint64_t pixels = PixelCount(header);
  // A bound, not the exact figure: one binary64 plane per channel (far more than the int16 top half of
  // the coefficients, the unpacked streams of the other channels and the few rows per level the
  // loader keeps), a quarter plane more, the pixel buffer, and a few rows.
  std::uint64_t bytes = pixels * (8 * std::uint64_t(channels) + (channels == 3 ? 4 : 1)) + 2 * pixels +
                        64 * std::uint64_t{header.width} * (std::uint64_t(channels) + 1);
  std::uint64_t symbols = 0;
  std::uint64_t values = 0;
  std::uint64_t packed = 0;
  for (int channel = 0; channel < channels; ++channel) {
    symbols = std::max<std::uint64_t>(symbols, UsableSymbols(header, channel));
    values = std::max<std::uint64_t>(values, UsableValues(header, channel));
    packed = std::max({packed, SymbolStreamBytes(header.symbolCount[channel]),
                       ValueStreamBytes(header.valueCount[channel], header.valueBits[channel])});
  }
  return bytes + symbols + values + packed + ScaleTableBytes(header.lastLevel) * std::uint64_t(channels);
}

std::string ImageHeaderProblem(const ImageHeader& header) {
  if (header.lastLevel > kMaxLastLevel) {
    return "lastLevel " + std::to_string(header.lastLevel) + " is greater than 16";
  }
  std::string problem = ChannelValueBitsProblem(header);
  if (problem.empty()) problem = SizeProblem(header);
  if (problem.empty() && DecodeWorkingMemory(header) > kMaxDecodeWorkingMemory) {
    problem = "decoding would need " + std::to_string(DecodeWorkingMemory(header)) +
              " bytes of working memory, more than 1 GiB";
  }
  return problem;
}
