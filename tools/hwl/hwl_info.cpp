#include <cstdio>
#include <filesystem>
#include <system_error>

#include "images/hwl.h"
#include "base/diagnostics.h"
#include "tools/hwl/hwl_arguments.h"
#include "tools/hwl/hwl_commands.h"

const char* const kInfoUsage =
    "usage: hwl info IN.hwl\n"
    "\n"
    "Prints the header fields, the sizes of the blocks they announce and the expected against the\n"
    "actual file size. Exits with 1 when a reader would refuse the file or it is too short.\n";

namespace {

void PrintChannel(const ImageHeader& header, int c) {
  std::printf("channel %d: symbolCount %u (%llu bytes), valueCount %u (%llu bytes), valueBits %u\n", c,
              header.symbolCount[c], static_cast<unsigned long long>(SymbolStreamBytes(header.symbolCount[c])),
              header.valueCount[c],
              static_cast<unsigned long long>(ValueStreamBytes(header.valueCount[c], header.valueBits[c])),
              header.valueBits[c]);
}

void PrintHeader(const ImageHeader& header) {
  std::printf("signature: %02X %02X %02X\n", header.signature[0], header.signature[1], header.signature[2]);
  std::printf("width: %u\nheight: %u\n", header.width, header.height);
  const char* kind = header.bitsPerPixel == 8 ? " (grey)" : header.bitsPerPixel == 24 ? " (colour: Y, U, V)" : " (no picture)";
  std::printf("bitsPerPixel: %u%s\nlastLevel: %u\n", header.bitsPerPixel, kind, header.lastLevel);
  const int channels = ChannelCount(header);
  for (int c = 0; c < channels; ++c) PrintChannel(header, c);
  if (channels > 0) {
    std::printf("scale tables: %d x %u entries (%llu bytes)\n", channels, header.lastLevel + 2u,
                static_cast<unsigned long long>(ScaleTableBytes(header.lastLevel) * channels));
  }
}

}  // namespace

int RunInfo(const Arguments& arguments) {
  if (WantsHelp(arguments)) {
    std::printf("%s", kInfoUsage);
    return 0;
  }
  if (arguments.size() != 1) return UsageError("info", "expected one .hwl file", kInfoUsage);
  const std::string& input = arguments[0];
  InputFile file(input);
  ImageHeaderBytes bytes{};
  if (file.ReadSome(bytes.data(), bytes.size()) != bytes.size()) {
    return Failure("info", input + ": shorter than the 36-byte header");
  }
  const ImageHeader header = ParseImageHeader(bytes);
  std::printf("file: %s\n", input.c_str());
  PrintHeader(header);
  std::error_code ignored;
  const std::uintmax_t actual = std::filesystem::file_size(input, ignored);
  const std::uint64_t expected = ExpectedFileSize(header);
  std::printf("expected file size: %llu bytes\nactual file size: %llu bytes\n",
              static_cast<unsigned long long>(expected), static_cast<unsigned long long>(actual));
  if (ChannelCount(header) == 0) return Failure("info", input + ": bitsPerPixel is neither 8 nor 24, no picture");
  const std::string problem = ImageHeaderProblem(header);
  if (!problem.empty()) return Failure("info", input + ": a reader refuses this file: " + problem);
  if (actual < expected) return Failure("info", input + ": the file ends before its last block is complete");
  return 0;
}
