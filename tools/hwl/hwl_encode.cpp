#include <cmath>
#include <cstdio>
#include <filesystem>

#include "images/hwl.h"
#include "tools/common/png_io.h"
#include "tools/hwl/hwl_arguments.h"
#include "tools/hwl/hwl_commands.h"
#include "tools/hwl/hwl_fit.h"

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
    "  --fit pad|crop     a picture whose size does not fit the levels is padded (its last column\n"
    "                     and row repeated) or cropped to the next multiple of 2^(N + 1); without\n"
    "                     --levels, N is 5, or less for a picture under 64 pixels wide or high.\n"
    "                     The size written is printed\n"
    "  --bits B           value bits of every channel, 0 to 8 (default 8)\n"
    "  --bits B0,B1,B2    value bits of Y, U and V\n"
    "  --psnr DB          the largest threshold (to 0.001) whose decoded picture still reaches DB\n"
    "                     decibels, found by bisection and printed (default: --psnr 40)\n"
    "  --threshold T      set detail coefficients of magnitude at most T to zero before quantising\n"
    "                     (--threshold 0 keeps every coefficient)\n";

namespace {

constexpr double kDefaultPsnr = 40.0;
// Thresholds are searched in thousandths, so that the one printed is the one used.
constexpr double kThresholdStep = 0.001;

struct EncodeCommand {
  std::string input;
  std::string output;
  HwlEncodeOptions options;
  bool threeBits = false;
  std::optional<FitMode> fit;
  std::optional<double> psnr;
};

std::string ParseBits(const std::string& value, EncodeCommand& command) {
  const std::optional<std::vector<int>> bits = ParseIntList(value);
  if (!bits || (bits->size() != 1 && bits->size() != 3)) return "--bits takes B or B0,B1,B2, not '" + value + "'";
  command.threeBits = bits->size() == 3;
  for (std::size_t c = 0; c < 3; ++c) command.options.valueBits[c] = (*bits)[command.threeBits ? c : 0];
  return "";
}

// Parses the value of option `name`; returns an error message or "".
std::string ParseValue(const std::string& name, const std::string& value, EncodeCommand& command) {
  if (name == "--bits") return ParseBits(value, command);
  if (name == "--levels") {
    command.options.lastLevel = ParseInt(value);
    return command.options.lastLevel ? "" : "--levels takes a whole number, not '" + value + "'";
  }
  if (name == "--threshold") {
    command.options.threshold = ParseDouble(value);
    return command.options.threshold ? "" : "--threshold takes a number, not '" + value + "'";
  }
  if (name == "--psnr") {
    command.psnr = ParseDouble(value);
    return command.psnr && *command.psnr > 0 ? "" : "--psnr takes a number of decibels above 0, not '" + value + "'";
  }
  command.fit = ParseFitMode(value);
  return command.fit ? "" : "--fit takes pad or crop, not '" + value + "'";
}

// Parses one option at `i` (advancing past its value); returns an error message or "".
std::string ParseOption(const Arguments& arguments, std::size_t& i, EncodeCommand& command) {
  const std::string& name = arguments[i];
  if (name == "--grey") {
    command.options.grey = true;
    return "";
  }
  if (name != "--levels" && name != "--bits" && name != "--threshold" && name != "--psnr" && name != "--fit")
    return "unknown option '" + name + "'";
  if (i + 1 >= arguments.size()) return name + " needs a value";
  return ParseValue(name, arguments[++i], command);
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
  if (command.psnr && command.options.threshold) return "give --psnr or --threshold, not both";
  if (!command.options.threshold && !command.psnr) command.psnr = kDefaultPsnr;
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

std::string SizeText(int width, int height) { return std::to_string(width) + " x " + std::to_string(height); }

// Whether the picture's size fits no transform the options allow (levels out of range are left to
// the encoder's own message).
bool NeedsFit(const Picture& picture, std::optional<int> levels) {
  if (levels && (*levels < 0 || *levels > 16)) return false;
  const int block = levels ? 2 << *levels : 2;
  return picture.width % block != 0 || picture.height % block != 0;
}

// Pads or crops the picture when it must and the command allows it, saying what was done.
std::string FitIfAsked(const EncodeCommand& command, Picture& picture) {
  if (!command.fit || !NeedsFit(picture, command.options.lastLevel)) return "";
  const int level = FitLevel(picture.width, picture.height, command.options.lastLevel);
  if (level < 0) return "a " + SizeText(picture.width, picture.height) + " picture is too small to fit";
  const Picture fitted = FitPicture(picture, *command.fit, 2 << level);
  std::printf("%s: %s %s to %s\n", command.input.c_str(), SizeText(picture.width, picture.height).c_str(),
              *command.fit == FitMode::Pad ? "padded" : "cropped", SizeText(fitted.width, fitted.height).c_str());
  picture = fitted;
  return "";
}

struct Trial {
  HwlEncodeResult result;
  HwlEncodeReport report;
};

Trial EncodeWithThreshold(const SourcePicture& source, HwlEncodeOptions options, std::int64_t thousandths,
                          const std::string& output) {
  options.threshold = double(thousandths) * kThresholdStep;
  Trial trial;
  trial.result = EncodeHwlPicture(source, options, output, trial.report);
  return trial;
}

// The largest threshold, in thousandths, whose file reaches `psnr`: bisection between 0, which must
// reach it, and a threshold above every detail coefficient of an 8-bit picture. Each trial is written
// to `output`; the caller writes the chosen one last.
struct Search {
  std::int64_t thousandths = 0;
  std::optional<Trial> failed;  // a trial that did not encode, or threshold 0 below the target
};

Search SearchThreshold(const SourcePicture& source, const HwlEncodeOptions& options, double psnr,
                       const std::string& output) {
  Trial trial = EncodeWithThreshold(source, options, 0, output);
  if (!trial.result.encoded() || trial.report.psnr < psnr) return {0, trial};
  std::int64_t low = 0;
  std::int64_t high = std::int64_t(255.0 * double(2 << trial.report.header.lastLevel) / kThresholdStep);
  trial = EncodeWithThreshold(source, options, high, output);
  if (!trial.result.encoded()) return {0, trial};
  if (trial.report.psnr >= psnr) return {high, std::nullopt};
  while (high - low > 1) {
    const std::int64_t middle = low + (high - low) / 2;
    trial = EncodeWithThreshold(source, options, middle, output);
    if (!trial.result.encoded()) return {0, trial};
    (trial.report.psnr >= psnr ? low : high) = middle;
  }
  return {low, std::nullopt};
}

int EncodeFailure(const HwlEncodeResult& encoded) {
  if (encoded.failure) return IoErrorExit(*encoded.failure);
  return CommandFailure("encode", encoded.problem);
}

// Finds the threshold for the target PSNR and leaves it in the options.
std::optional<int> ChooseThreshold(const EncodeCommand& command, const SourcePicture& source,
                                   HwlEncodeOptions& options) {
  const Search search = SearchThreshold(source, options, *command.psnr, command.output);
  if (search.failed && !search.failed->result.encoded()) return EncodeFailure(search.failed->result);
  if (search.failed) {
    std::filesystem::remove(command.output);
    return CommandFailure("encode", command.input + ": no threshold reaches " + FormatPsnr(*command.psnr) +
                                        " dB; without one the file has " + FormatPsnr(search.failed->report.psnr) +
                                        " dB");
  }
  options.threshold = double(search.thousandths) * kThresholdStep;
  std::printf("%s: threshold %.3f, the largest that keeps the PSNR at %s dB or more\n", command.output.c_str(),
              *options.threshold, FormatPsnr(*command.psnr).c_str());
  return std::nullopt;
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
  if (command.threeBits && (picture.channels == 1 || command.options.grey)) {
    return CommandFailure("encode", command.input + ": a grey picture takes one --bits value");
  }
  const std::string small = FitIfAsked(command, picture);
  if (!small.empty()) return CommandFailure("encode", command.input + ": " + small);
  const SourcePicture source{picture.pixels.data(), static_cast<std::uint32_t>(picture.width),
                             static_cast<std::uint32_t>(picture.height), picture.channels};
  const std::string unfit = EncodeProblem(source, command.options);
  if (!unfit.empty()) return CommandFailure("encode", command.input + ": " + unfit);
  HwlEncodeOptions options = command.options;
  if (command.psnr) {
    if (const std::optional<int> failed = ChooseThreshold(command, source, options)) return *failed;
  }
  HwlEncodeReport report;
  const HwlEncodeResult encoded = EncodeHwlPicture(source, options, command.output, report);
  if (!encoded.encoded()) return EncodeFailure(encoded);
  std::printf("%s: %d x %d %s, lastLevel %d, %llu bytes, %.3f bits per pixel, PSNR %s dB\n", command.output.c_str(),
              report.header.width, report.header.height, report.header.bitsPerPixel == 8 ? "grey" : "colour",
              report.header.lastLevel, static_cast<unsigned long long>(report.fileSize), report.bitsPerPixel,
              FormatPsnr(report.psnr).c_str());
  return 0;
}
