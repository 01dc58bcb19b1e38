#include <sys/stat.h>

#include <cerrno>
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

// The first bytes of the file, up to a header's 36, in `bytes`; their count in `got`. A file that cannot
// be opened or read fails as the engine's reader fails on it (a folder is "access denied").
MaybeFailure ReadHeaderBytes(const std::string& path, ImageHeaderBytes& bytes, std::size_t& got) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return Failure::IoFromErrno(path, errno, IoAccess::Read);
  struct stat info {};
  const bool folder = fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
  got = folder ? 0 : std::fread(bytes.data(), 1, bytes.size(), file);
  const bool unreadable = !folder && got < bytes.size() && std::ferror(file);
  std::fclose(file);
  if (folder) return Failure::Io(IoErrorCode::AccessDenied, path);
  if (unreadable) return Failure::Io(IoErrorCode::ReadPastEnd, path);
  return std::nullopt;
}

// The header's fields and blocks, the sizes, and whether a reader takes the file.
int ReportOn(const std::string& input, const ImageHeader& header) {
  std::printf("file: %s\n", input.c_str());
  PrintHeader(header);
  std::error_code ignored;
  const std::uintmax_t actual = std::filesystem::file_size(input, ignored);
  const std::uint64_t expected = ExpectedFileSize(header);
  std::printf("expected file size: %llu bytes\nactual file size: %llu bytes\n",
              static_cast<unsigned long long>(expected), static_cast<unsigned long long>(actual));
  if (ChannelCount(header) == 0) return CommandFailure("info", input + ": bitsPerPixel is neither 8 nor 24, no picture");
  const std::string problem = ImageHeaderProblem(header);
  if (!problem.empty()) return CommandFailure("info", input + ": a reader refuses this file: " + problem);
  if (actual < expected) return CommandFailure("info", input + ": the file ends before its last block is complete");
  return 0;
}

}  // namespace

int RunInfo(const Arguments& arguments) {
  if (WantsHelp(arguments)) {
    std::printf("%s", kInfoUsage);
    return 0;
  }
  if (arguments.size() != 1) return UsageError("info", "expected one .hwl file", kInfoUsage);
  const std::string& input = arguments[0];
  ImageHeaderBytes bytes{};
  std::size_t got = 0;
  if (MaybeFailure failure = ReadHeaderBytes(input, bytes, got)) return IoErrorExit(*failure);
  if (got != bytes.size()) return CommandFailure("info", input + ": shorter than the 36-byte header");
  return ReportOn(input, ParseImageHeader(bytes));
}
