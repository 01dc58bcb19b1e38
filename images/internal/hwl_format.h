// The format's limits and the sizes the reader works with, beyond what the face shows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "images/hwl.h"

inline constexpr int kMaxLastLevel = 16;
inline constexpr int kMaxValueBits = 8;
inline constexpr int kScaleTableCapacity = kMaxLastLevel + 2;  // 18 entries, 144 bytes
inline constexpr int kMaxChannels = 3;
inline constexpr std::size_t kMaxImageFileName = 255;  // longer names are cut
// A reader refuses, before allocating anything, a picture whose decoding would need more than this.
inline constexpr std::uint64_t kMaxDecodeWorkingMemory = std::uint64_t{1} << 30;

// A plane of W × H coefficients uses at most 2 × W × H symbols (a run takes two) and W × H values;
// the decoder never unpacks more, so a header claiming more (cheap with valueBits 0, whose values take
// no bytes) cannot make it allocate beyond the picture's size.
std::uint32_t UsableSymbols(const ImageHeader& header, int channel);
std::uint32_t UsableValues(const ImageHeader& header, int channel);

// An upper bound of the bytes the loader allocates to decode this picture, pixel buffer included. It
// counts a full binary64 plane per channel, which the loader no longer keeps (it needs about half),
// so that the same pictures as before are refused.
std::uint64_t DecodeWorkingMemory(const ImageHeader& header);
