// The hwl binary as a subprocess.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "images/hwl.h"
#include "tests/images/codec_test_support.h"
#include "tools/common/png_io.h"

namespace {

struct ToolRun {
  int exitCode = -1;
  std::string output;  // standard output and standard error together
};

ToolRun Hwl(const std::string& arguments) {
  const std::string command = std::string(HWL_TOOL) + " " + arguments + " 2>&1";
  ToolRun run;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) run.output += buffer;
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string WriteSourcePicture(const std::string& name, int channels) {
  Picture picture;
  picture.width = 64;
  picture.height = 32;
  picture.channels = channels;
  picture.pixels = channels == 3 ? SmoothColourPixels(64, 32) : SmoothGreyPixels(64, 32);
  const std::string path = TempFile(name);
  std::string error;
  EXPECT_TRUE(WritePicture(path, picture, error)) << error;
  return path;
}

TEST(HwlTool, EncodeThenDecodeGivesThePictureBack) {
  const std::string source = WriteSourcePicture("source.png", 3);
  const std::string encoded = TempFile("tool.hwl");
  const ToolRun encode = Hwl("encode " + source + " " + encoded + " --levels 2 --bits 8,7,7");
  ASSERT_EQ(encode.exitCode, 0) << encode.output;
  EXPECT_NE(encode.output.find("PSNR"), std::string::npos) << encode.output;
  EXPECT_NE(encode.output.find("bits per pixel"), std::string::npos) << encode.output;

  const std::string decoded = TempFile("back.ppm");
  const ToolRun decode = Hwl("decode " + encoded + " " + decoded);
  ASSERT_EQ(decode.exitCode, 0) << decode.output;
  Picture original, back;
  std::string error;
  ASSERT_TRUE(ReadPicture(source, original, error)) << error;
  ASSERT_TRUE(ReadPicture(decoded, back, error)) << error;
  ASSERT_EQ(back.width, 64);
  ASSERT_EQ(back.height, 32);
  ASSERT_EQ(back.channels, 3);
  int worst = 0;
  for (std::size_t i = 0; i < original.pixels.size(); ++i) {
    worst = std::max(worst, std::abs(int(original.pixels[i]) - int(back.pixels[i])));
  }
  EXPECT_LE(worst, 12);

  const ToolRun info = Hwl("info " + encoded);
  ASSERT_EQ(info.exitCode, 0) << info.output;
  EXPECT_NE(info.output.find("lastLevel: 2"), std::string::npos) << info.output;
  EXPECT_NE(info.output.find("valueBits 7"), std::string::npos) << info.output;
  const std::string size = std::to_string(ReadFileBytes(encoded).size());
  EXPECT_NE(info.output.find("expected file size: " + size + " bytes"), std::string::npos) << info.output;
  EXPECT_NE(info.output.find("actual file size: " + size + " bytes"), std::string::npos) << info.output;
}

TEST(HwlTool, GreyPgmRoundTrip) {
  const std::string source = WriteSourcePicture("source.pgm", 1);
  const std::string encoded = TempFile("grey.hwl");
  ASSERT_EQ(Hwl("encode " + source + " " + encoded + " --threshold 1.5").exitCode, 0);
  const std::string decoded = TempFile("grey.pgm");
  ASSERT_EQ(Hwl("decode " + encoded + " " + decoded).exitCode, 0);
  Picture back;
  std::string error;
  ASSERT_TRUE(ReadPicture(decoded, back, error)) << error;
  EXPECT_EQ(back.channels, 1);
  EXPECT_NE(Hwl("info " + encoded).output.find("bitsPerPixel: 8"), std::string::npos);

  // Written as PPM, each grey byte becomes three equal ones.
  const std::string widened = TempFile("grey.ppm");
  ASSERT_EQ(Hwl("decode " + encoded + " " + widened).exitCode, 0);
  Picture rgb;
  ASSERT_TRUE(ReadPicture(widened, rgb, error)) << error;
  ASSERT_EQ(rgb.channels, 3);
  ASSERT_EQ(rgb.pixels.size(), back.pixels.size() * 3);
  for (std::size_t i = 0; i < back.pixels.size(); ++i) {
    const std::uint8_t grey = back.pixels[i];
    ASSERT_TRUE(rgb.pixels[3 * i] == grey && rgb.pixels[3 * i + 1] == grey && rgb.pixels[3 * i + 2] == grey)
        << "pixel " << i;
  }
}

// PPM rows are written as they are decoded; PNG goes through the whole picture. Both must carry the
// decoder's pixels exactly.
TEST(HwlTool, PpmAndPngCarryTheDecodersPixelsExactly) {
  const std::string source = WriteSourcePicture("exact.ppm", 3);
  const std::string encoded = TempFile("exact.hwl");
  ASSERT_EQ(Hwl("encode " + source + " " + encoded + " --threshold 3").exitCode, 0);
  std::vector<std::uint8_t> bgra;
  ImageHeader header;
  ASSERT_TRUE(LoadImageFile(bgra, header, encoded, true).decoded());
  for (const char* name : {"exact-back.ppm", "exact-back.png"}) {
    const std::string decoded = TempFile(name);
    ASSERT_EQ(Hwl("decode " + encoded + " " + decoded).exitCode, 0) << name;
    Picture back;
    std::string error;
    ASSERT_TRUE(ReadPicture(decoded, back, error)) << error;
    ASSERT_EQ(back.channels, 3);
    ASSERT_EQ(back.pixels.size(), bgra.size() / 4 * 3) << name;
    for (std::size_t i = 0; i < back.pixels.size() / 3; ++i) {
      ASSERT_TRUE(back.pixels[3 * i] == bgra[4 * i + 2] && back.pixels[3 * i + 1] == bgra[4 * i + 1] &&
                  back.pixels[3 * i + 2] == bgra[4 * i])
          << name << ", pixel " << i;
    }
  }
}

TEST(HwlTool, DecodeThatCannotWriteLeavesNoFile) {
  const std::string source = WriteSourcePicture("nowrite.ppm", 3);
  const std::string encoded = TempFile("nowrite.hwl");
  ASSERT_EQ(Hwl("encode " + source + " " + encoded).exitCode, 0);
  const std::string grey = TempFile("colour.pgm");
  ToolRun run = Hwl("decode " + encoded + " " + grey);
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.output.find(grey), std::string::npos) << run.output;
  EXPECT_EQ(std::fopen(grey.c_str(), "rb"), nullptr);
  const std::string unreachable = TempFile("no-such-folder/out.ppm");
  run = Hwl("decode " + encoded + " " + unreachable);
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.output.find(unreachable), std::string::npos) << run.output;
  // A device that takes no bytes: the failed write is reported, not taken for success.
  const std::string full = TempFile("full.ppm");
  ASSERT_EQ(symlink("/dev/full", full.c_str()), 0);
  run = Hwl("decode " + encoded + " " + full);
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.output.find(full), std::string::npos) << run.output;
}

TEST(HwlTool, FailuresNameTheFileAndExitNonZero) {
  const std::string missing = TempFile("missing.hwl");
  ToolRun run = Hwl("decode " + missing + " " + TempFile("out.png"));
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.output.find(missing), std::string::npos) << run.output;

  const std::string truncated = TempFile("short.hwl");
  const Bytes pixels = SmoothColourPixels(16, 16);
  Bytes file = EncodeToBytes({pixels.data(), 16, 16, 3}, {});
  file.resize(file.size() - 1);
  WriteFileBytes(truncated, file);
  run = Hwl("decode " + truncated + " " + TempFile("out.ppm"));
  EXPECT_EQ(run.exitCode, 100);
  EXPECT_NE(run.output.find(truncated), std::string::npos) << run.output;
  run = Hwl("info " + truncated);
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.output.find("ends before"), std::string::npos) << run.output;

  const std::string source = WriteSourcePicture("levels.ppm", 3);
  run = Hwl("encode " + source + " " + TempFile("x.hwl") + " --levels 5");  // 32 rows allow at most 4
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.output.find(source), std::string::npos) << run.output;
  run = Hwl("encode " + source + " " + TempFile("x.hwl") + " --bits 9");
  EXPECT_NE(run.exitCode, 0);
  run = Hwl("encode " + source);
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.output.find("usage"), std::string::npos);
}

TEST(HwlTool, HelpOnTheToolAndEveryVerb) {
  for (const char* arguments : {"--help", "encode --help", "decode --help", "info --help"}) {
    const ToolRun run = Hwl(arguments);
    EXPECT_EQ(run.exitCode, 0) << arguments;
    EXPECT_NE(run.output.find("usage: hwl"), std::string::npos) << arguments;
  }
  EXPECT_NE(Hwl("frobnicate").exitCode, 0);
}

}  // namespace
