// WriteImageFile: quantised coefficient planes into the bytes of a .hwl file.
//
// An 8-bit (grey) file takes channel 0 only and writes zeros into the header entries of channels 1
// and 2. A 24-bit file is written in one pass: header, the three scale tables, then channel by channel
// its symbols and values, each channel coded only when its turn comes; the header is written again at
// the end with every channel's counts. Any other depth writes the header alone.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "images/internal/hwl_format.h"

using ChannelPlanes = std::array<const std::int32_t*, 3>;  // W × H quantised coefficients each
using ChannelScales = std::array<const double*, 3>;        // lastLevel + 2 entries each
using ChannelBits = std::array<int, 3>;                    // 0 to 8

// Creates (or replaces) `fileName` and writes the picture; `written` receives the header as finally
// written. Failures are the runtime I/O errors naming the file: the code for the reason the file
// cannot be created (3, 5, ...), or 101 when a write, the rewind or the closing fails.
MaybeFailure WriteImageFile(const std::string& fileName, const ChannelPlanes& planes, std::uint32_t W,
                            std::uint32_t H, int bitsPerPixel, int lastLevel, const ChannelScales& scales,
                            const ChannelBits& valueBits, ImageHeader& written);
