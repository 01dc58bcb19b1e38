// The hwl program as a child process, in a folder of its own: what it writes, prints and exits with.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <thread>

#include "tests/images/codec_test_support.h"
#include "tests/support/subprocess.h"
#include "tools/common/png_io.h"

namespace {

constexpr int kOddWidth = 45, kOddHeight = 27;

// A colour picture with detail at every scale (a fixed pseudo-random texture over a gradient), so
// that the threshold matters. RGB, rows top first.
Bytes DetailedPixels(int width, int height) {
  Bytes pixels;
  std::uint32_t state = 12345;
  for (int i = 0; i < width * height * 3; ++i) {
    state = state * 1664525u + 1013904223u;
    const int x = i / 3 % width, y = i / 3 / width, c = i % 3;
    pixels.push_back(std::uint8_t((x * 4 + y * 3 + c * 40) % 200 + (state >> 27)));
  }
  return pixels;
}

std::string Ppm(int width, int height, const Bytes& pixels) {
  return "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n" + ToString(pixels);
}

// The folder hwl runs in, which starts with a colour PPM and a grey PGM of 64 × 32 pixels, and the
// odd-sized detailed picture.
const TempFolder& Folder() {
  static const TempFolder folder;
  static const bool written = [] {
    WriteWholeFile(folder.File("colour.ppm"), "P6\n64 32\n255\n" + ToString(SmoothColourPixels(64, 32)));
    WriteWholeFile(folder.File("grey.pgm"), "P5\n64 32\n255\n" + ToString(SmoothGreyPixels(64, 32)));
    WriteWholeFile(folder.File("odd.ppm"), Ppm(kOddWidth, kOddHeight, DetailedPixels(kOddWidth, kOddHeight)));
    return true;
  }();
  (void)written;
  return folder;
}

std::string File(const std::string& name) { return Folder().File(name); }

ProcessResult Hwl(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), HWL_TOOL);
  return RunProcess(arguments, Folder().path());
}

Picture Read(const std::string& name) {
  Picture picture;
  std::string error;
  EXPECT_TRUE(ReadPicture(File(name), picture, error)) << error;
  return picture;
}

// What a decode into a picture of `channels` channels holds: the reference decoder's pixels, blue,
// green, red turned into red, green, blue; a grey value repeated in each channel of a PPM.
Bytes AsWritten(const Bytes& reference, bool grey, int channels) {
  Bytes pixels;
  for (std::size_t i = 0; i < reference.size() / (grey ? 1 : 4); ++i) {
    const std::size_t k = 4 * i;
    const Bytes rgb = grey ? Bytes(3, reference[i]) : Bytes{reference[k + 2], reference[k + 1], reference[k]};
    pixels.insert(pixels.end(), rgb.begin(), rgb.begin() + channels);
  }
  return pixels;
}

TEST(HwlTool, EncodeInfoAndDecodeAgreeWithTheLibrary) {
  const ProcessResult run =
      Hwl({"encode", "colour.ppm", "colour.hwl", "--levels", "2", "--bits", "8,7,7", "--threshold", "0"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string size = std::to_string(ReadFileBytes(File("colour.hwl")).size());
  EXPECT_TRUE(run.out.starts_with("colour.hwl: 64 x 32 colour, lastLevel 2, " + size + " bytes, ")) << run.out;
  EXPECT_NE(run.out.find(" bits per pixel, PSNR "), std::string::npos) << run.out;
  ASSERT_EQ(Hwl({"encode", "grey.pgm", "grey.hwl", "--threshold", "1.5"}).exitCode, 0);
  const std::string info = Hwl({"info", "colour.hwl"}).out + Hwl({"info", "grey.hwl"}).out;
  const std::string sizeLines = "expected file size: " + size + " bytes\nactual file size: " + size + " bytes\n";
  for (const char* line : {"signature: 48 57 4C\n", "width: 64\nheight: 32\n", "lastLevel: 2\n", "valueBits 7\n",
                                  "bitsPerPixel: 8 (grey)\n", sizeLines.c_str()}) {
    EXPECT_NE(info.find(line), std::string::npos) << line << " in\n" << info;
  }
  // PPM and PGM rows are written as they are decoded, PNG through the whole picture: all carry the
  // library's pixels exactly.
  for (const auto& [in, out, channels] : {std::tuple{"colour.hwl", "back.ppm", 3}, {"colour.hwl", "back.png", 3},
                                          {"grey.hwl", "grey-back.pgm", 1}, {"grey.hwl", "grey-back.ppm", 3}}) {
    ASSERT_EQ(Hwl({"decode", in, out}).exitCode, 0) << out;
    const Picture back = Read(out);
    EXPECT_EQ(back.channels, channels) << out;
    EXPECT_TRUE(back.pixels == AsWritten(ReferenceDecode(ReadFileBytes(File(in))), in[0] == 'g', channels)) << out;
  }
}

TEST(HwlTool, FailuresPrintTheirLineAndExitWithTheirCode) {
  ASSERT_EQ(Hwl({"encode", "colour.ppm", "good.hwl"}).exitCode, 0);
  Bytes file = ReadFileBytes(File("good.hwl"));
  WriteFileBytes(File("tiny.hwl"), Bytes(file.begin(), file.begin() + 20));
  WriteFileBytes(File("short.hwl"), Bytes(file.begin(), file.end() - 1));
  file[8] = 17;
  WriteFileBytes(File("refused.hwl"), file);
  std::filesystem::create_directory(File("folder"));
  struct Row {
    const char* arguments;  // separated by spaces
    int exitCode;
    std::string err;  // the whole of standard error; with a usage text after it, its first part
  };
  const Row rows[] = {
      {"decode missing.hwl out.png", 2, "I/O error 2 (file not found): missing.hwl\n"},
      {"decode nowhere/missing.hwl out.png", 3, "I/O error 3 (path not found): nowhere/missing.hwl\n"},
      {"decode folder out.ppm", 5, "I/O error 5 (access denied): folder\n"},
      {"decode short.hwl out.png", 100, "I/O error 100 (read past the end of the file): short.hwl\n"},
      {"decode short.hwl out.ppm", 100, "I/O error 100 (read past the end of the file): short.hwl\n"},
      {"decode refused.hwl out.ppm", 1, "hwl decode: refused.hwl: lastLevel 17 is greater than 16\n"},
      {"decode good.hwl out.pgm", 1, "hwl decode: out.pgm: a colour picture cannot be written as PGM\n"},
      {"decode good.hwl nowhere/out.ppm", 1, "hwl decode: nowhere/out.ppm: No such file or directory\n"},
      {"decode good.hwl /dev/full", 1, "hwl decode: /dev/full: No space left on device\n"},
      {"encode colour.ppm nowhere/x.hwl", 3, "I/O error 3 (path not found): nowhere/x.hwl\n"},
      {"encode colour.ppm folder", 5, "I/O error 5 (access denied): folder\n"},
      {"encode colour.ppm /dev/full", 101, "I/O error 101 (write error): /dev/full\n"},
      {"encode missing.ppm x.hwl", 1, "hwl encode: missing.ppm: No such file or directory\n"},
      {"encode colour.ppm x.hwl --levels 5", 1,
       "hwl encode: colour.ppm: a 64 x 32 picture is not a multiple of 2^(levels + 1) = 64 in both directions\n"},
      {"encode colour.ppm x.hwl --bits 9", 1, "hwl encode: colour.ppm: value bits must lie between 0 and 8, not 9\n"},
      {"encode grey.pgm x.hwl --bits 8,7,7", 1, "hwl encode: grey.pgm: a grey picture takes one --bits value\n"},
      {"encode colour.ppm", 2, "hwl encode: expected an input picture and an output .hwl file\n\nusage: hwl encode"},
      {"encode odd.ppm x.hwl", 1, "hwl encode: odd.ppm: a 45 x 27 picture needs an even width and height\n"},
      {"encode odd.ppm x.hwl --fit stretch", 2,
       "hwl encode: --fit takes pad or crop, not 'stretch'\n\nusage: hwl encode"},
      {"encode colour.ppm x.hwl --psnr 0", 2,
       "hwl encode: --psnr takes a number of decibels above 0, not '0'\n\nusage: hwl encode"},
      {"encode colour.ppm x.hwl --psnr 40 --threshold 1", 2,
       "hwl encode: give --psnr or --threshold, not both\n\nusage: hwl encode"},
      {"encode colour.ppm x.hwl --psnr 200", 1,
       "hwl encode: colour.ppm: no threshold reaches 200.00 dB; without one the file has "},
      {"info missing.hwl", 2, "I/O error 2 (file not found): missing.hwl\n"},
      {"info folder", 5, "I/O error 5 (access denied): folder\n"},
      {"info tiny.hwl", 1, "hwl info: tiny.hwl: shorter than the 36-byte header\n"},
      {"info short.hwl", 1, "hwl info: short.hwl: the file ends before its last block is complete\n"},
      {"info refused.hwl", 1, "hwl info: refused.hwl: a reader refuses this file: lastLevel 17 is greater than 16\n"},
      {"frobnicate", 2, "hwl: unknown verb 'frobnicate'\n\nusage: hwl <verb>"},
      {"", 2, "usage: hwl <verb>"},
  };
  for (const Row& row : rows) {
    std::vector<std::string> arguments;
    for (std::istringstream words(row.arguments); words >> arguments.emplace_back();) {}
    arguments.pop_back();
    const ProcessResult run = Hwl(arguments);
    EXPECT_EQ(run.exitCode, row.exitCode) << row.arguments;
    const bool whole = row.err.back() == '\n';
    EXPECT_EQ(whole ? run.err : run.err.substr(0, row.err.size()), row.err) << row.arguments;
  }
  // The rows of a PPM or PGM go out as they are decoded: a file that fails to decode opens none.
  EXPECT_FALSE(FileExists(File("out.ppm")));
  EXPECT_FALSE(FileExists(File("out.pgm"))) << "a decode that cannot write leaves no file";
  EXPECT_FALSE(FileExists(File("x.hwl"))) << "an encode that fails leaves no file";
}

// The odd picture cut or widened to width x height as --fit must: its top-left part, with its last
// column and row repeated.
Bytes Refitted(int width, int height) {
  const Bytes odd = DetailedPixels(kOddWidth, kOddHeight);
  Bytes pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int from = (std::min(y, kOddHeight - 1) * kOddWidth + std::min(x, kOddWidth - 1)) * 3;
      pixels.insert(pixels.end(), odd.begin() + from, odd.begin() + from + 3);
    }
  }
  return pixels;
}

TEST(HwlTool, FitPadsOrCropsToTheTransformsBlockAndSaysWhichSize) {
  // Without --levels the block is 2^(lastLevel + 1) for the deepest transform (up to 5) that fits
  // inside 27 pixels: 16.
  for (const auto& [levels, fit, width, height] : {std::tuple{"", "pad", 48, 32}, {"", "crop", 32, 16},
                                                   {"1", "pad", 48, 28}, {"1", "crop", 44, 24}}) {
    std::vector<std::string> options = {"--threshold", "2"};
    if (*levels) options.insert(options.end(), {"--levels", levels});
    const std::string what = fit + std::string(" at levels '") + levels + "'";
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    std::vector<std::string> arguments = {"encode", "odd.ppm", "fit.hwl", "--fit", fit};
    arguments.insert(arguments.end(), options.begin(), options.end());
    const ProcessResult run = Hwl(arguments);
    ASSERT_EQ(run.exitCode, 0) << what << ": " << run.err;
    const std::string verb = fit == std::string("pad") ? "padded" : "cropped";
    EXPECT_TRUE(run.out.starts_with("odd.ppm: 45 x 27 " + verb + " to " + size + "\n")) << what << ": " << run.out;
    EXPECT_NE(run.out.find("fit.hwl: " + size + " colour"), std::string::npos) << what << ": " << run.out;
    // The same file as the picture refitted by hand gives.
    WriteWholeFile(File("refitted.ppm"), Ppm(width, height, Refitted(width, height)));
    arguments = {"encode", "refitted.ppm", "refitted.hwl"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    ASSERT_EQ(Hwl(arguments).exitCode, 0) << what;
    EXPECT_EQ(ReadFileBytes(File("fit.hwl")), ReadFileBytes(File("refitted.hwl"))) << what;
  }
}

// The PSNR of a file that holds the odd picture cropped to 32 x 16, decoded by the tests' reference
// decoder (blue, green, red, alpha).
double CroppedPsnr(const std::string& name) {
  const Bytes original = Refitted(32, 16), decoded = ReferenceDecode(ReadFileBytes(File(name)));
  double squares = 0;
  for (std::size_t i = 0; i < original.size(); ++i) {
    const double difference = double(original[i]) - double(decoded[i / 3 * 4 + 2 - i % 3]);
    squares += difference * difference;
  }
  return 10 * std::log10(255.0 * 255.0 * double(original.size()) / squares);
}

TEST(HwlTool, PsnrTakesTheLargestThresholdThatReachesIt) {
  auto encode = [](const std::string& out, const std::string& option, double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return Hwl({"encode", "odd.ppm", out, "--fit", "crop", option, text});
  };
  for (const double target : {28.0, 33.0}) {
    const ProcessResult run = encode("psnr.hwl", "--psnr", target);
    ASSERT_EQ(run.exitCode, 0) << target << ": " << run.err;
    const std::size_t at = run.out.rfind("psnr.hwl: threshold ");
    ASSERT_NE(at, std::string::npos) << run.out;
    const double threshold = std::stod(run.out.substr(at + 20));
    EXPECT_GT(threshold, 0.0) << target << ": " << run.out;
    EXPECT_GE(CroppedPsnr("psnr.hwl"), target) << run.out;
    // The printed threshold is the one used; a thousandth more misses the target.
    ASSERT_EQ(encode("same.hwl", "--threshold", threshold).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(File("psnr.hwl")), ReadFileBytes(File("same.hwl"))) << target;
    ASSERT_EQ(encode("more.hwl", "--threshold", threshold + 0.001).exitCode, 0);
    EXPECT_LT(CroppedPsnr("more.hwl"), target) << target << ": " << threshold;
  }
  // Without --psnr or --threshold, encode aims at 40 dB.
  ASSERT_EQ(Hwl({"encode", "colour.ppm", "default.hwl"}).exitCode, 0);
  ASSERT_EQ(Hwl({"encode", "colour.ppm", "forty.hwl", "--psnr", "40"}).exitCode, 0);
  EXPECT_EQ(ReadFileBytes(File("default.hwl")), ReadFileBytes(File("forty.hwl")));
}

TEST(HwlTool, OutputThatCannotSeekBackToItsHeaderIsAWriteError) {
  const std::string pipe = File("pipe");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::thread drain([&] { std::ifstream(pipe, std::ios::binary).ignore(std::numeric_limits<std::streamsize>::max()); });
  // Under a time limit: a tool that took the pipe for a file would wait for it to be written again.
  const ProcessResult run =
      RunProcess({"/usr/bin/timeout", "20", HWL_TOOL, "encode", "colour.ppm", "pipe"}, Folder().path());
  if (const int unblocking = open(pipe.c_str(), O_WRONLY | O_NONBLOCK); unblocking >= 0) close(unblocking);
  drain.join();
  EXPECT_EQ(std::tuple(run.exitCode, run.err), std::tuple(101, "I/O error 101 (write error): pipe\n"));
}

}  // namespace
