#include <cstdio>
#include <utility>
#include <vector>

#include "images/hwl.h"
#include "tools/common/png_io.h"
#include "tools/hwl/hwl_arguments.h"
#include "tools/hwl/hwl_commands.h"

const char* const kDecodeUsage =
    "usage: hwl decode IN.hwl OUT.png|OUT.ppm|OUT.pgm\n"
    "\n"
    "Decodes a .hwl file and writes the picture, grey or RGB, as PNG, or as binary PPM/PGM when the\n"
    "name ends in .ppm or .pgm (a grey picture written as .ppm is widened to RGB).\n";

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// For a PNG: the decoder's blue, green, red, alpha pixels as RGB, packed in place (pixel i moves down
// from 4 i to 3 i, which spares a second picture-sized buffer), or its grey bytes as they are.
Picture ToPicture(const ImageHeader& header, std::vector<std::uint8_t>&& pixels) {
  Picture picture;
  picture.width = header.width;
  picture.height = header.height;
  picture.channels = header.bitsPerPixel == 8 ? 1 : 3;
  if (picture.channels == 3) {
    const std::size_t count = std::size_t{header.width} * header.height;
    std::uint8_t* data = pixels.data();
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint8_t blue = data[4 * i], green = data[4 * i + 1], red = data[4 * i + 2];
      data[3 * i] = red;
      data[3 * i + 1] = green;
      data[3 * i + 2] = blue;
    }
    pixels.resize(count * 3);
  }
  picture.pixels = std::move(pixels);
  return picture;
}

// PPM and PGM are written as the decoder makes the rows, so no picture-sized buffer is ever filled:
// a row pair is repacked (blue, green, red, alpha as RGB; grey widened for a .ppm) while it is still
// in the cache, and goes to the file.
class PnmDecodeSink final : public ImageRowSink {
 public:
  explicit PnmDecodeSink(std::string path) : path_(std::move(path)), wantRgb_(EndsWith(path_, ".ppm")) {}

  void Begin(const ImageHeader& header) override {
    colour_ = header.bitsPerPixel == 24;
    width_ = header.width;
    if (colour_ && !wantRgb_) {
      problem_ = path_ + ": a colour picture cannot be written as PGM";
      return;
    }
    opened_ = writer_.Open(path_, static_cast<int>(header.width), static_cast<int>(header.height), wantRgb_ ? 3 : 1);
  }

  void Rows(std::uint32_t, std::uint32_t count, const std::uint8_t* pixels) override {
    if (!opened_) return;
    const std::size_t values = std::size_t{width_} * count;
    if (!wantRgb_) {
      writer_.Write(pixels, values);
      return;
    }
    rgb_.resize(3 * values);
    std::uint8_t* out = rgb_.data();
    if (colour_) {
      for (std::size_t i = 0; i < values; ++i, out += 3, pixels += 4) {
        out[0] = pixels[2];
        out[1] = pixels[1];
        out[2] = pixels[0];
      }
    } else {
      for (std::size_t i = 0; i < values; ++i, out += 3) out[0] = out[1] = out[2] = pixels[i];
    }
    writer_.Write(rgb_.data(), rgb_.size());
  }

  // Whether the whole file was written; a partly written one is removed.
  bool Finish(std::string& error) {
    if (!problem_.empty()) {
      error = problem_;
      return false;
    }
    if (writer_.Finish(error)) return true;
    std::remove(path_.c_str());
    return false;
  }

 private:
  std::string path_;
  bool wantRgb_;
  bool colour_ = false;
  bool opened_ = false;
  std::uint32_t width_ = 0;
  PnmRowWriter writer_;
  std::vector<std::uint8_t> rgb_;
  std::string problem_;
};

// A file the decoder cannot read ends the verb as the engine's runtime I/O error would end the
// program; a refused file, or one without a picture, is the verb's own failure.
int UndecodedFile(const std::string& input, const ImageLoadResult& result) {
  if (result.failure) return IoErrorExit(*result.failure);
  return CommandFailure("decode", input + ": " + result.problem);
}

int DecodeToPnm(const std::string& input, const std::string& output) {
  PnmDecodeSink sink(output);
  ImageHeader header;
  const ImageLoadResult result = LoadImageRows(sink, header, input);
  if (!result.decoded()) return UndecodedFile(input, result);
  std::string error;
  if (!sink.Finish(error)) return CommandFailure("decode", error);
  return 0;
}

}  // namespace

int RunDecode(const Arguments& arguments) {
  if (WantsHelp(arguments)) {
    std::printf("%s", kDecodeUsage);
    return 0;
  }
  if (arguments.size() != 2) return UsageError("decode", "expected an input .hwl file and an output picture", kDecodeUsage);
  const std::string& input = arguments[0];
  const std::string& output = arguments[1];
  if (IsPnmName(output)) return DecodeToPnm(input, output);
  std::vector<std::uint8_t> pixels;
  ImageHeader header;
  const ImageLoadResult result = LoadImageFile(pixels, header, input, true);
  if (!result.decoded()) return UndecodedFile(input, result);
  std::string error;
  if (!WritePicture(output, ToPicture(header, std::move(pixels)), error)) return CommandFailure("decode", error);
  return 0;
}
