// Encoding an in-memory picture into a .hwl file, for the tools (the `hwl` command and the content
// builders): 8-bit samples, rows top first, one (grey) or three (R, G, B) interleaved channels.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "images/hwl_format.h"

inline constexpr int kDefaultLevelCap = 5;

struct HwlEncodeOptions {
  std::optional<int> lastLevel;              // unset: the largest the size allows, at most 5
  std::array<int, 3> valueBits{8, 8, 8};     // grey pictures use the first
  std::optional<double> threshold;           // ZeroSmallDetails on every detail level when set
  bool grey = false;                         // a colour picture is reduced to grey first
};

struct HwlEncodeReport {
  ImageHeader header;
  std::uint64_t fileSize = 0;
  double bitsPerPixel = 0.0;  // file bits per picture pixel
  double psnr = 0.0;          // dB, of the decoded file against the (grey) input; infinity if equal
  std::uint64_t zeroedDetails = 0;
};

struct SourcePicture {
  const std::uint8_t* pixels = nullptr;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int channels = 0;  // 1 or 3
};

// The largest lastLevel (≤ cap) for which width and height are non-zero multiples of
// 2^(lastLevel + 1), or -1 when there is none (an odd or zero size).
int LargestLastLevel(std::uint32_t width, std::uint32_t height, int cap = kDefaultLevelCap);

// Why these options cannot encode this picture, or "".
std::string EncodeProblem(const SourcePicture& picture, const HwlEncodeOptions& options);

// Encodes into `fileName` (replaced), decodes the file again and measures the PSNR. Returns false
// with `error` set when the options do not fit the picture; file failures go through the runtime
// I/O error.
bool EncodeHwlPicture(const SourcePicture& picture, const HwlEncodeOptions& options, const std::string& fileName,
                      HwlEncodeReport& report, std::string& error);

// The grey value the encoder uses for a colour pixel, 0.3 R + 0.59 G + 0.11 B rounded.
std::uint8_t GreyOfRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b);
