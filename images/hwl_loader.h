// LoadImageFile, the decoder's entry point: a .hwl file into a pixel buffer.
//
// Output: 8 bits per pixel gives W × H grey bytes; 24 bits gives W × H pixels of blue, green, red,
// alpha 0; rows top first. The caller's header is filled from the file before anything else happens,
// so the caller sees the header as read whatever the outcome.
//
// Failures: a file that cannot be opened, or that ends before a block is complete, goes through the
// runtime I/O error (code 100 for a short file, naming the file); nothing is returned then. A header
// a reader must refuse (see ImageHeaderProblem) is reported as Refused with the reason, before any
// working memory is allocated. A depth other than 8 or 24 bits gives NoPicture. In both cases the
// pixel buffer is left untouched.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "images/hwl_format.h"

enum class ImageLoadStatus { Decoded, NoPicture, Refused };

struct ImageLoadResult {
  ImageLoadStatus status = ImageLoadStatus::NoPicture;
  std::string problem;  // why nothing was decoded; empty when Decoded
  bool decoded() const { return status == ImageLoadStatus::Decoded; }
};

// With `allocate` the loader sizes `pixels` itself (W × H or W × H × 4 bytes, keeping what it held);
// without, `pixels` must already be that large, or the file is refused.
ImageLoadResult LoadImageFile(std::vector<std::uint8_t>& pixels, ImageHeader& header, std::string_view fileName,
                              bool allocate);

// The same bytes from an open stream positioned at the start of the header. `streamName` names the
// stream in I/O error messages.
ImageLoadResult LoadImageFile(std::vector<std::uint8_t>& pixels, ImageHeader& header, std::istream& stream,
                              bool allocate, std::string_view streamName = "image stream");

// Bytes of the decoded picture: W × H for grey, W × H × 4 for colour, 0 for any other depth.
std::uint64_t PixelBufferBytes(const ImageHeader& header);

// The same picture row by row, for a caller that passes the rows on (into a file, say) and has no use
// for a picture-sized buffer: rows arrive in order, top first, in the buffer form's layout, W or
// W × 4 bytes each. Begin comes once the whole file has been read, so no I/O error or refusal can
// follow it; a file that is refused, or holds no picture, reaches neither function.
class ImageRowSink {
 public:
  virtual ~ImageRowSink() = default;
  virtual void Begin(const ImageHeader& header) = 0;
  // `count` rows from row `first` on, one after another; the bytes are the sink's only during the call.
  virtual void Rows(std::uint32_t first, std::uint32_t count, const std::uint8_t* pixels) = 0;
};

ImageLoadResult LoadImageRows(ImageRowSink& sink, ImageHeader& header, std::string_view fileName);
