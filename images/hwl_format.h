// The bytes of a .hwl picture file: the 36-byte header and the sizes of the blocks that follow it.
//
// A file is the header, the scale tables (one per channel, lastLevel + 2 binary64 values each), then
// per channel a packed 2-bit symbol stream and a packed value stream. Everything is little-endian and
// unpadded, so the header is read and written field by field rather than as a memory image.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

inline constexpr std::size_t kImageHeaderSize = 36;
inline constexpr int kMaxLastLevel = 16;
inline constexpr int kMaxValueBits = 8;
inline constexpr int kScaleTableCapacity = kMaxLastLevel + 2;  // 18 entries, 144 bytes
inline constexpr int kMaxChannels = 3;
// A reader refuses, before allocating anything, a picture whose decoding would need more than this.
inline constexpr std::uint64_t kMaxDecodeWorkingMemory = std::uint64_t{1} << 30;

struct ImageHeader {
  std::array<std::uint8_t, 3> signature{};  // "HWL" from the writer; readers never test it
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint8_t bitsPerPixel = 0;  // 8 = grey, 24 = Y, U, V
  std::uint8_t lastLevel = 0;     // the transform has lastLevel + 1 steps
  std::array<std::uint32_t, 3> symbolCount{};
  std::array<std::uint32_t, 3> valueCount{};
  std::array<std::uint8_t, 3> valueBits{};
};

using ImageHeaderBytes = std::array<std::uint8_t, kImageHeaderSize>;

ImageHeader ParseImageHeader(std::span<const std::uint8_t, kImageHeaderSize> bytes);
ImageHeaderBytes SerializeImageHeader(const ImageHeader& header);

// 1 for 8 bits per pixel, 3 for 24, 0 for any depth that gives no picture.
int ChannelCount(const ImageHeader& header);

// Bytes of one channel's blocks.
std::uint64_t ScaleTableBytes(int lastLevel);
std::uint64_t SymbolStreamBytes(std::uint32_t symbolCount);
std::uint64_t ValueStreamBytes(std::uint32_t valueCount, int valueBits);

// 36 + channels × scale table + the streams of every channel in use.
std::uint64_t ExpectedFileSize(const ImageHeader& header);

// A plane of W × H coefficients uses at most 2 × W × H symbols (a run takes two) and W × H values;
// the decoder never unpacks more, so a header claiming more (cheap with valueBits 0, whose values take
// no bytes) cannot make it allocate beyond the picture's size.
std::uint32_t UsableSymbols(const ImageHeader& header, int channel);
std::uint32_t UsableValues(const ImageHeader& header, int channel);

// An upper bound of the bytes the loader allocates to decode this picture, pixel buffer included. It
// counts a full binary64 plane per channel, which the loader no longer keeps (it needs about half),
// so that the same pictures as before are refused.
std::uint64_t DecodeWorkingMemory(const ImageHeader& header);

// Why a reader must refuse this header, or "" when it can be decoded. Only meaningful for a depth of
// 8 or 24 bits; other depths are not refused but give no picture.
std::string ImageHeaderProblem(const ImageHeader& header);
