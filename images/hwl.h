// hwl: the .hwl picture codec. Pure code: no GL, nothing printed, and the process never ends here;
// every failure comes back to the caller.
//
// A .hwl file is a lossy, wavelet-compressed picture: one grey channel (8 bits per pixel) or colour
// (24 bits per pixel, coded as three channels Y, U, V). Integers are little-endian, floating-point
// values IEEE 754 binary64 little-endian, and nothing is padded or aligned anywhere.
//
// ---- The header: 36 bytes ----
//
//   offset  size  field            meaning
//        0     3  signature        "HWL" (48 57 4C), no terminator; a reader never tests it
//        3     2  width            uint16, pixels
//        5     2  height           uint16, pixels
//        7     1  bitsPerPixel     8 = grey (one channel), 24 = Y, U, V (three); anything else: no picture
//        8     1  lastLevel        the wavelet transform has lastLevel + 1 steps; at most 16
//        9     4  symbolCount[0]   uint32, 2-bit symbols of channel 0 (grey or Y)
//       13     4  symbolCount[1]   channel 1 (U)
//       17     4  symbolCount[2]   channel 2 (V)
//       21     4  valueCount[0]    uint32, values of channel 0
//       25     4  valueCount[1]    channel 1
//       29     4  valueCount[2]    channel 2
//       33     1  valueBits[0]     bits of each value of channel 0, 0 to 8
//       34     1  valueBits[1]     channel 1
//       35     1  valueBits[2]     channel 2
//
//   A grey file's entries [1] and [2] mean nothing and may hold any bytes; the writer puts zeros there.
//
// ---- The body, straight after the header ----
//
//   grey:    scale table 0 | symbols 0 | values 0
//   colour:  scale table 0 | scale table 1 | scale table 2 | symbols 0 | values 0 | symbols 1 |
//            values 1 | symbols 2 | values 2
//
//   Nothing follows the last stream. File size = 36 + channels × 8 × (lastLevel + 2) + the sum over
//   the channels of ⌈symbolCount / 4⌉ + ⌈valueCount × valueBits / 8⌉.
//
// Scale table: lastLevel + 2 binary64 values, 8 bytes each. Entry k (k = 0 … lastLevel) belongs to the
//   three detail bands of level k, level 0 being the finest; entry lastLevel + 1 to the approximation
//   band. The writer multiplied each band by its scale before rounding; a reader multiplies by the
//   reciprocal, and a scale of exactly 0 decodes its whole band as 0.
//
// Symbol stream: four 2-bit symbols to a byte, the first in the lowest bits; ⌈symbolCount / 4⌉ bytes,
//   unused high bits of the last byte 0.
//
//       bit   7 6   5 4   3 2   1 0
//            [ s3 | s2  | s1  | s0 ]
//
//   0  one zero coefficient
//   1  a run of zeros: with the next symbol h and the next value v, v + h × 2^valueBits + 1 zeros
//      (two symbols and one value; up to 2^(valueBits + 2) zeros, 1024 for 8-bit values)
//   2  +v, the next value
//   3  −v, the next value (a 2 or 3 with the value 0 is a zero)
//
// Value stream: valueCount values of b = valueBits bits each in one continuous bit string, lowest bit
//   first: value i takes stream bits i × b … i × b + b − 1, and stream bit n is bit n mod 8 of byte
//   n / 8, so a value may straddle a byte boundary. ⌈valueCount × b / 8⌉ bytes; b = 0 takes none.
//
// Coefficient order: a channel's symbols and values give its width × height quantised coefficients
//   row by row over the whole plane. Level k covers the top-left (W >> k) × (H >> k) block, and its
//   three detail bands are that block minus its own top-left quarter; the approximation band is the
//   top-left (W >> (lastLevel + 1)) × (H >> (lastLevel + 1)) block. With lastLevel 1:
//
//       +----+----+---------+
//       | A  | 1  |         |      A  approximation band (scale entry 2)
//       +----+----+    0    |      1  detail bands of level 1 (scale entry 1)
//       |    1    |         |      0  detail bands of level 0 (scale entry 0)
//       +---------+---------+
//       |                   |
//       |         0         |
//       |                   |
//       +-------------------+
//
// ---- Decoding ----
//
// Each channel is dequantised and rebuilt by the inverse orthonormal Haar transform, coarsest level
// first, with one addition: where a detail coefficient is exactly zero, an output sample next to a
// flat neighbouring pair is blended 20 % towards that neighbour. Colour is converted with
// R = Y + 1.140251 V, B = Y + 2.028398 U, G = 1.694915 ((Y − 0.3 R) − 0.11 B), all in extended
// precision and rounded to binary64 once. A sample becomes a byte by rounding to the nearest integer,
// halves to even (v ≤ 0 gives 0; v ≥ 255 and NaN give 255): the one place the decoder rounds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/diagnostics.h"

// ---- The header ----

inline constexpr std::size_t kImageHeaderSize = 36;

struct ImageHeader {
  std::array<std::uint8_t, 3> signature{};
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint8_t bitsPerPixel = 0;
  std::uint8_t lastLevel = 0;
  std::array<std::uint32_t, 3> symbolCount{};
  std::array<std::uint32_t, 3> valueCount{};
  std::array<std::uint8_t, 3> valueBits{};
};

using ImageHeaderBytes = std::array<std::uint8_t, kImageHeaderSize>;

ImageHeader ParseImageHeader(std::span<const std::uint8_t, kImageHeaderSize> bytes);
ImageHeaderBytes SerializeImageHeader(const ImageHeader& header);

// 1 for 8 bits per pixel, 3 for 24, 0 for any depth that gives no picture.
int ChannelCount(const ImageHeader& header);

// Bytes of one channel's blocks, and of the whole file the header announces.
std::uint64_t ScaleTableBytes(int lastLevel);
std::uint64_t SymbolStreamBytes(std::uint32_t symbolCount);
std::uint64_t ValueStreamBytes(std::uint32_t valueCount, int valueBits);
std::uint64_t ExpectedFileSize(const ImageHeader& header);

// Why a reader refuses this header, or "" when it decodes it: lastLevel above 16, a channel in use
// with valueBits above 8, a width or height that is not a multiple of 2^(lastLevel + 1), or a picture
// whose decoding would need more than 1 GiB of working memory. Only meaningful for 8 or 24 bits.
std::string ImageHeaderProblem(const ImageHeader& header);

// Bytes of the decoded picture: W × H for grey, W × H × 4 for colour, 0 for any other depth.
std::uint64_t PixelBufferBytes(const ImageHeader& header);

// ---- Reading ----
//
// The picture comes out as W × H grey bytes (8 bits) or W × H pixels of blue, green, red, alpha 0
// (24 bits), rows top first. File names are cut at 255 characters.
//
// The outcome is one of:
//   Decoded     the whole picture is there.
//   Unreadable  the file cannot be opened, or ends before a block is complete: `failure` is the
//               runtime I/O error the engine reports for it (code 2, 3 or 5 for opening, 100 for a
//               short or unreadable file, naming the file or stream). A stream known to be too short
//               fails before anything is allocated.
//   Refused     the header is one a reader must refuse (see ImageHeaderProblem), or the caller's fixed
//               buffer is too small (both before anything is allocated), or the working memory cannot
//               be had.
//   NoPicture   the depth is neither 8 nor 24 bits.
// The caller's header is filled as soon as its 36 bytes are read, so from then on the caller sees it
// as read whatever the outcome. Unless the picture is decoded the pixel buffer is left untouched.

enum class ImageLoadStatus { Decoded, Unreadable, Refused, NoPicture };

struct ImageLoadResult {
  ImageLoadStatus status = ImageLoadStatus::NoPicture;
  std::string problem;   // why nothing was decoded (for Unreadable, the failure's text); empty when Decoded
  MaybeFailure failure;  // the runtime I/O error, when Unreadable
  bool decoded() const { return status == ImageLoadStatus::Decoded; }
};

// With `allocate` the loader sizes `pixels` itself (keeping what it held); without, `pixels` must
// already hold PixelBufferBytes, or the file is refused.
ImageLoadResult LoadImageFile(std::vector<std::uint8_t>& pixels, ImageHeader& header, std::string_view fileName,
                              bool allocate);

// The same bytes from an open stream positioned at the start of the header. `streamName` names the
// stream in failures.
ImageLoadResult LoadImageFile(std::vector<std::uint8_t>& pixels, ImageHeader& header, std::istream& stream,
                              bool allocate, std::string_view streamName = "image stream");

// The same picture row by row, for a caller that passes the rows on (into a file, say) and has no use
// for a picture-sized buffer: rows arrive in order, top first, in the buffer form's layout, W or
// W × 4 bytes each. Begin comes once the whole file has been read, so no failure can follow it; a
// file that is unreadable, refused or holds no picture reaches neither function.
class ImageRowSink {
 public:
  virtual ~ImageRowSink() = default;
  virtual void Begin(const ImageHeader& header) = 0;
  // `count` rows from row `first` on, one after another; the bytes are the sink's only during the call.
  virtual void Rows(std::uint32_t first, std::uint32_t count, const std::uint8_t* pixels) = 0;
};

ImageLoadResult LoadImageRows(ImageRowSink& sink, ImageHeader& header, std::string_view fileName);

// ---- Encoding a picture ----
//
// For the tools (the `hwl` command, the content builder): 8-bit samples, rows top first, one (grey)
// or three (R, G, B) interleaved channels. Grey pictures are written with 8 bits per pixel, colour
// pictures with 24: Y = 0.3 R + 0.59 G + 0.11 B, U = 0.493 (B − Y), V = 0.877 (R − Y), the plain Haar
// analysis, then each band scaled so that its largest magnitude becomes 2^valueBits − 1 and rounded to
// the nearest integer, halves to even.

struct SourcePicture {
  const std::uint8_t* pixels = nullptr;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int channels = 0;  // 1 or 3
};

struct HwlEncodeOptions {
  std::optional<int> lastLevel;           // unset: the largest the size allows, at most 5
  std::array<int, 3> valueBits{8, 8, 8};  // grey pictures use the first
  std::optional<double> threshold;        // detail coefficients of at most this magnitude become 0
  bool grey = false;                      // a colour picture is reduced to grey (0.3 R + 0.59 G + 0.11 B)
};

struct HwlEncodeReport {
  ImageHeader header;
  std::uint64_t fileSize = 0;
  double bitsPerPixel = 0.0;  // file bits per picture pixel
  double psnr = 0.0;          // dB, of the decoded file against the (grey) input; infinity if equal
  std::uint64_t zeroedDetails = 0;
};

// Why these options cannot encode this picture, or "".
std::string EncodeProblem(const SourcePicture& picture, const HwlEncodeOptions& options);

struct HwlEncodeResult {
  std::string problem;   // why no usable file was written (for an I/O failure, its text); empty if encoded
  MaybeFailure failure;  // the runtime I/O error, when the file could not be written or read back
  bool encoded() const { return problem.empty(); }
};

// Encodes into `fileName` (replaced), decodes the file again and measures the PSNR. Fails with the
// EncodeProblem when the options do not fit the picture, or with the runtime I/O error naming the
// file when it cannot be created (3, 5), written (101) or read back.
HwlEncodeResult EncodeHwlPicture(const SourcePicture& picture, const HwlEncodeOptions& options,
                                 const std::string& fileName, HwlEncodeReport& report);
