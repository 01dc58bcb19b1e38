// The hwl program as a child process, in a folder of its own: what it writes, prints and exits with.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <thread>

#include "tests/images/codec_test_support.h"
#include "tests/support/subprocess.h"
#include "tools/common/png_io.h"

namespace {

// The folder hwl runs in, which starts with a colour PPM and a grey PGM of 64 × 32 pixels.
const TempFolder& Folder() {
  static const TempFolder folder;
  static const bool written = [] {
    WriteWholeFile(folder.File("colour.ppm"), "P6\n64 32\n255\n" + ToString(SmoothColourPixels(64, 32)));
    WriteWholeFile(folder.File("grey.pgm"), "P5\n64 32\n255\n" + ToString(SmoothGreyPixels(64, 32)));
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

TEST(HwlTool, EncodeDecodeAndInfoAgreeWithTheLibrary) {
  ProcessResult run = Hwl({"encode", "colour.ppm", "colour.hwl", "--levels", "2", "--bits", "8,7,7"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Bytes file = ReadFileBytes(File("colour.hwl"));
  const std::string size = std::to_string(file.size());
  const std::string head = "colour.hwl: 64 x 32 colour, lastLevel 2, " + size + " bytes, ";
  EXPECT_EQ(run.out.substr(0, head.size()), head);
  EXPECT_NE(run.out.find(" bits per pixel, PSNR "), std::string::npos) << run.out;

  run = Hwl({"info", "colour.hwl"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<std::string> lines = {"signature: 48 57 4C\n", "width: 64\nheight: 32\n", "lastLevel: 2\n",
                                         "valueBits 7\n", "expected file size: " + size + " bytes\n",
                                         "actual file size: " + size + " bytes\n"};
  for (const std::string& line : lines) {
    EXPECT_NE(run.out.find(line), std::string::npos) << line << " in\n" << run.out;
  }

  // PPM rows are written as they are decoded, PNG through the whole picture: both carry the
  // library's pixels exactly, blue, green, red turned into red, green, blue.
  const Bytes bgra = ReferenceDecode(file);
  for (const char* name : {"back.ppm", "back.png"}) {
    ASSERT_EQ(Hwl({"decode", "colour.hwl", name}).exitCode, 0) << name;
    const Picture back = Read(name);
    ASSERT_EQ(back.channels, 3);
    ASSERT_EQ(back.pixels.size(), 64u * 32 * 3) << name;
    for (std::size_t i = 0; i < 64 * 32; ++i) {
      ASSERT_EQ(Bytes(back.pixels.begin() + 3 * i, back.pixels.begin() + 3 * i + 3),
                (Bytes{bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]}))
          << name << ", pixel " << i;
    }
  }
}

TEST(HwlTool, GreyPicturesStayGreyAndWidenIntoPpm) {
  ASSERT_EQ(Hwl({"encode", "grey.pgm", "grey.hwl", "--threshold", "1.5"}).exitCode, 0);
  EXPECT_NE(Hwl({"info", "grey.hwl"}).out.find("bitsPerPixel: 8 (grey)\n"), std::string::npos);
  ASSERT_EQ(Hwl({"decode", "grey.hwl", "grey-back.pgm"}).exitCode, 0);
  ASSERT_EQ(Hwl({"decode", "grey.hwl", "grey-back.ppm"}).exitCode, 0);
  const Picture grey = Read("grey-back.pgm"), widened = Read("grey-back.ppm");
  EXPECT_EQ(grey.pixels, ReferenceDecode(ReadFileBytes(File("grey.hwl"))));
  ASSERT_EQ(widened.channels, 3);
  ASSERT_EQ(widened.pixels.size(), grey.pixels.size() * 3);
  for (std::size_t i = 0; i < grey.pixels.size(); ++i) {
    ASSERT_EQ(Bytes(widened.pixels.begin() + 3 * i, widened.pixels.begin() + 3 * i + 3), Bytes(3, grey.pixels[i])) << i;
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
    std::vector<std::string> arguments;
    int exitCode;
    std::string err;  // the whole of standard error; with a usage text after it, its first part
  };
  const Row rows[] = {
      {{"decode", "missing.hwl", "out.png"}, 2, "I/O error 2 (file not found): missing.hwl\n"},
      {{"decode", "nowhere/missing.hwl", "out.png"}, 3, "I/O error 3 (path not found): nowhere/missing.hwl\n"},
      {{"decode", "folder", "out.ppm"}, 5, "I/O error 5 (access denied): folder\n"},
      {{"decode", "short.hwl", "out.png"}, 100, "I/O error 100 (read past the end of the file): short.hwl\n"},
      {{"decode", "short.hwl", "out.ppm"}, 100, "I/O error 100 (read past the end of the file): short.hwl\n"},
      {{"decode", "refused.hwl", "out.ppm"}, 1, "hwl decode: refused.hwl: lastLevel 17 is greater than 16\n"},
      {{"decode", "good.hwl", "out.pgm"}, 1, "hwl decode: out.pgm: a colour picture cannot be written as PGM\n"},
      {{"decode", "good.hwl", "nowhere/out.ppm"}, 1, "hwl decode: nowhere/out.ppm: No such file or directory\n"},
      {{"decode", "good.hwl", "/dev/full"}, 1, "hwl decode: /dev/full: No space left on device\n"},
      {{"encode", "colour.ppm", "nowhere/x.hwl"}, 3, "I/O error 3 (path not found): nowhere/x.hwl\n"},
      {{"encode", "colour.ppm", "folder"}, 5, "I/O error 5 (access denied): folder\n"},
      {{"encode", "colour.ppm", "/dev/full"}, 101, "I/O error 101 (write error): /dev/full\n"},
      {{"encode", "missing.ppm", "x.hwl"}, 1, "hwl encode: missing.ppm: No such file or directory\n"},
      {{"encode", "colour.ppm", "x.hwl", "--levels", "5"}, 1,
       "hwl encode: colour.ppm: a 64 x 32 picture is not a multiple of 2^(levels + 1) = 64 in both directions\n"},
      {{"encode", "colour.ppm", "x.hwl", "--bits", "9"}, 1,
       "hwl encode: colour.ppm: value bits must lie between 0 and 8, not 9\n"},
      {{"encode", "grey.pgm", "x.hwl", "--bits", "8,7,7"}, 1,
       "hwl encode: grey.pgm: a grey picture takes one --bits value\n"},
      {{"encode", "colour.ppm"}, 2,
       "hwl encode: expected an input picture and an output .hwl file\n\nusage: hwl encode"},
      {{"info", "missing.hwl"}, 2, "I/O error 2 (file not found): missing.hwl\n"},
      {{"info", "folder"}, 5, "I/O error 5 (access denied): folder\n"},
      {{"info", "tiny.hwl"}, 1, "hwl info: tiny.hwl: shorter than the 36-byte header\n"},
      {{"info", "short.hwl"}, 1, "hwl info: short.hwl: the file ends before its last block is complete\n"},
      {{"info", "refused.hwl"}, 1,
       "hwl info: refused.hwl: a reader refuses this file: lastLevel 17 is greater than 16\n"},
      {{"frobnicate"}, 2, "hwl: unknown verb 'frobnicate'\n\nusage: hwl <verb>"},
      {{}, 2, "usage: hwl <verb>"},
  };
  for (const Row& row : rows) {
    const ProcessResult run = Hwl(row.arguments);
    const std::string what = row.arguments.empty() ? "hwl" : row.arguments[0] + " " + row.arguments.back();
    EXPECT_EQ(run.exitCode, row.exitCode) << what;
    const bool whole = row.err.back() == '\n';
    EXPECT_EQ(whole ? run.err : run.err.substr(0, row.err.size()), row.err) << what;
  }
  // The rows of a PPM or PGM go out as they are decoded: a file that fails to decode opens none.
  EXPECT_FALSE(FileExists(File("out.ppm")));
  EXPECT_FALSE(FileExists(File("out.pgm"))) << "a decode that cannot write leaves no file";
}

TEST(HwlTool, OutputThatCannotSeekBackToItsHeaderIsAWriteError) {
  const std::string pipe = File("pipe");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::thread drain([&] { std::ifstream(pipe, std::ios::binary).ignore(std::numeric_limits<std::streamsize>::max()); });
  // Under a time limit: a tool that took the pipe for a file would wait for it to be written again.
  const ProcessResult run =
      RunProcess({"/usr/bin/timeout", "20", HWL_TOOL, "encode", "colour.ppm", "pipe"}, Folder().path());
  const int unblock = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);  // frees a reader that was never joined
  if (unblock >= 0) close(unblock);
  drain.join();
  EXPECT_EQ(run.exitCode, 101);
  EXPECT_EQ(run.err, "I/O error 101 (write error): pipe\n");
}

TEST(HwlTool, HelpOnTheToolAndEveryVerb) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--help"}, {"encode", "--help"}, {"decode", "--help"}, {"info", "--help"}}) {
    const ProcessResult run = Hwl(arguments);
    EXPECT_EQ(run.exitCode, 0) << arguments[0];
    EXPECT_EQ(run.out.substr(0, 10), "usage: hwl") << arguments[0];
  }
}

}  // namespace
