#include <cstdio>
#include <utility>

#include "images/hwl_loader.h"
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

// The decoder's blue, green, red, alpha pixels as RGB, or its grey bytes as grey or as RGB. Colour
// is packed in place (pixel i moves down from 4 i to 3 i), which spares a second picture-sized buffer.
Picture ToPicture(const ImageHeader& header, std::vector<std::uint8_t>&& pixels, bool wantRgb) {
  Picture picture;
  picture.width = header.width;
  picture.height = header.height;
  const bool grey = header.bitsPerPixel == 8;
  picture.channels = grey && !wantRgb ? 1 : 3;
  const std::size_t count = std::size_t{header.width} * header.height;
  if (grey && !wantRgb) {
    pixels.resize(count);
  } else if (grey) {
    pixels.resize(count * 3);
    for (std::size_t i = count; i-- > 0;) pixels[3 * i] = pixels[3 * i + 1] = pixels[3 * i + 2] = pixels[i];
  } else {
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

}  // namespace

int RunDecode(const Arguments& arguments) {
  if (WantsHelp(arguments)) {
    std::printf("%s", kDecodeUsage);
    return 0;
  }
  if (arguments.size() != 2) return UsageError("decode", "expected an input .hwl file and an output picture", kDecodeUsage);
  const std::string& input = arguments[0];
  const std::string& output = arguments[1];
  std::vector<std::uint8_t> pixels;
  ImageHeader header;
  const ImageLoadResult result = LoadImageFile(pixels, header, input, true);
  if (!result.decoded()) return Failure("decode", input + ": " + result.problem);
  if (header.bitsPerPixel == 24 && EndsWith(output, ".pgm")) {
    return Failure("decode", output + ": a colour picture cannot be written as PGM");
  }
  std::string error;
  if (!WritePicture(output, ToPicture(header, std::move(pixels), EndsWith(output, ".ppm")), error)) {
    return Failure("decode", error);
  }
  return 0;
}
