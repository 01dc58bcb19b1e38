#include <cmath>
#include <cstdio>

#include "images/hwl.h"
#include "tools/common/png_io.h"
#include "tools/hwl/hwl_arguments.h"
#include "tools/hwl/hwl_commands.h"

const char* const kEncodeUsage =
    "usage: hwl encode IN.png|IN.ppm|IN.pgm OUT.hwl [options]\n"
    "\n"
    "Encodes a PNG or binary PPM/PGM picture as a .hwl file: grey pictures as 8 bits per pixel, colour\n"
    "pictures as 24 (Y, U, V). Prints the file size, the bits per pixel and the PSNR of the decoded\n"
    "file against the input.\n"
    "\n"
    "  --grey             encode a colour picture as grey (0.3 R + 0.59 G + 0.11 B)\n"
    "  --levels N         lastLevel: the transform makes N + 1 steps; width and height must be\n"
    "                     multiples of 2^(N + 1) (default: the largest the size allows, at most 5)\n"
    "  --bits B           value bits of every channel, 0 to 8 (default 8)\n"
    "  --bits B0,B1,B2    value bits of Y, U and V\n"
    "  --threshold T      set detail coefficients of magnitude at most T to zero before quantising\n";

namespace {

struct EncodeCommand {
  std::string input;
  std::string output;
  HwlEncodeOptions options;
  bool threeBits = false;
};

// Parses one option at `i` (advancing past its value); returns an error message or "".
std::string ParseOption(const Arguments& arguments, std::size_t& i, EncodeCommand& command) {
  const std::string& name = arguments[i];
  if (name == "--grey") {
    command.options.grey = true;
    return "";
  }
  if (name != "--levels" && name != "--bits" && name != "--threshold") return "unknown option '" + name + "'";
  if (i + 1 >= arguments.size()) return name + " needs a value";
  const std::string& value = arguments[++i];
  if (name == "--levels") {
    command.options.lastLevel = ParseInt(value);
    return command.options.lastLevel ? "" : "--levels takes a whole number, not '" + value + "'";
  }
  if (name == "--threshold") {
    command.options.threshold = ParseDouble(value);
    return command.options.threshold ? "" : "--threshold takes a number, not '" + value + "'";
  }
  const std::optional<std::vector<int>> bits = ParseIntList(value);
  if (!bits || (bits->size() != 1 && bits->size() != 3)) return "--bits takes B or B0,B1,B2, not '" + value + "'";
  command.threeBits = bits->size() == 3;
  for (std::size_t c = 0; c < 3; ++c) command.options.valueBits[c] = (*bits)[command.threeBits ? c : 0];
  return "";
}

std::string ParseEncode(const Arguments& arguments, EncodeCommand& command) {
  std::vector<std::string> files;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i].rfind("--", 0) == 0) {
      const std::string problem = ParseOption(arguments, i, command);
      if (!problem.empty()) return problem;
    } else {
      files.push_back(arguments[i]);
    }
  }
  if (files.size() != 2) return "expected an input picture and an output .hwl file";
  command.input = files[0];
  command.output = files[1];
  return "";
}

std::string FormatPsnr(double psnr) {
  if (std::isinf(psnr)) return "inf";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", psnr);
  return text;
}

}  // namespace

int RunEncode(const Arguments& arguments) {
  if (WantsHelp(arguments)) {
    std::printf("%s", kEncodeUsage);
    return 0;
  }
  EncodeCommand command;
  const std::string problem = ParseEncode(arguments, command);
  if (!problem.empty()) return UsageError("encode", problem, kEncodeUsage);
  Picture picture;
  std::string error;
  if (!ReadPicture(command.input, picture, error)) return CommandFailure("encode", error);
  const SourcePicture source{picture.pixels.data(), static_cast<std::uint32_t>(picture.width),
                             static_cast<std::uint32_t>(picture.height), picture.channels};
  if (command.threeBits && (source.channels == 1 || command.options.grey)) {
    return CommandFailure("encode", command.input + ": a grey picture takes one --bits value");
  }
  const std::string unfit = EncodeProblem(source, command.options);
  if (!unfit.empty()) return CommandFailure("encode", command.input + ": " + unfit);
  HwlEncodeReport report;
  const HwlEncodeResult encoded = EncodeHwlPicture(source, command.options, command.output, report);
  if (encoded.failure) return IoErrorExit(*encoded.failure);
  if (!encoded.encoded()) return CommandFailure("encode", encoded.problem);
  std::printf("%s: %d x %d %s, lastLevel %d, %llu bytes, %.3f bits per pixel, PSNR %s dB\n", command.output.c_str(),
              report.header.width, report.header.height, report.header.bitsPerPixel == 8 ? "grey" : "colour",
              report.header.lastLevel, static_cast<unsigned long long>(report.fileSize), report.bitsPerPixel,
              FormatPsnr(report.psnr).c_str());
  return 0;
}
