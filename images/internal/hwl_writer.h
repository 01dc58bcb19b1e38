// WriteImageFile: quantised coefficient planes into the bytes of a .hwl file.
//
// An 8-bit (grey) file takes channel 0 only and writes zeros into the header entries of channels 1
// and 2. A 24-bit file is written in one pass: header, the three scale tables, then channel by channel
// its symbols and values, each channel coded only when its turn comes; the header is written again at
// the end with every channel's counts. Any other depth writes the header alone. Creating or writing
// the file goes through the runtime I/O error, which does not return.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "images/internal/hwl_format.h"

using ChannelPlanes = std::array<const std::int32_t*, 3>;  // W × H quantised coefficients each
using ChannelScales = std::array<const double*, 3>;        // lastLevel + 2 entries each
using ChannelBits = std::array<int, 3>;                    // 0 to 8

// Returns the header as finally written.
ImageHeader WriteImageFile(const std::string& fileName, const ChannelPlanes& planes, std::uint32_t W,
                           std::uint32_t H, int bitsPerPixel, int lastLevel, const ChannelScales& scales,
                           const ChannelBits& valueBits);

// The same bytes into an open, seekable stream (its start is where the header goes).
ImageHeader WriteImageFile(std::ostream& stream, const ChannelPlanes& planes, std::uint32_t W, std::uint32_t H,
                           int bitsPerPixel, int lastLevel, const ChannelScales& scales,
                           const ChannelBits& valueBits, std::string_view streamName = "image stream");
