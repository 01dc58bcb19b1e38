#include <cstdio>

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

// The decoder's blue, green, red, alpha pixels as RGB, or its grey bytes as grey or as RGB.
Picture ToPicture(const ImageHeader& header, const std::vector<std::uint8_t>& pixels, bool wantRgb) {
  Picture picture;
  picture.width = header.width;
  picture.height = header.height;
  const bool grey = header.bitsPerPixel == 8;
  picture.channels = grey && !wantRgb ? 1 : 3;
  const std::size_t count = std::size_t{header.width} * header.height;
  if (picture.channels == 1) {
    picture.pixels.assign(pixels.begin(), pixels.begin() + std::ptrdiff_t(count));
    return picture;
  }
  picture.pixels.resize(count * 3);
  std::uint8_t* out = picture.pixels.data();
  const std::uint8_t* in = pixels.data();
  // Blue, green, red, alpha in; a grey byte stands for all three.
  const std::size_t step = grey ? 1 : 4, red = grey ? 0 : 2, green = grey ? 0 : 1;
  for (std::size_t i = 0; i < count; ++i, in += step, out += 3) {
    out[0] = in[red];
    out[1] = in[green];
    out[2] = in[0];
  }
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
  if (!WritePicture(output, ToPicture(header, pixels, EndsWith(output, ".ppm")), error)) {
    return Failure("decode", error);
  }
  return 0;
}
