// The texgen tool as a subprocess in a scratch folder: compile, export, run, and its messages and
// exit codes (0 done, 1 failed, 2 usage). The library's own messages are tested with the library.
#include <gtest/gtest.h>

#include "tests/support/subprocess.h"
#include "tools/common/png_io.h"

namespace {

struct TexgenTool : ::testing::Test {
  TempFolder folder;
  ProcessResult Texgen(std::vector<std::string> args) {
    args.insert(args.begin(), TEXGEN_BINARY);
    return RunProcess(args, folder.path());
  }
};

TEST_F(TexgenTool, CompileExportRunToPngMessagesAndExitCodes) {
  WriteWholeFile(folder.File("a.txt"), "list 4\ncolorLayer(4,10,20,30);\nblurLayer(4,4);\n");
  ASSERT_EQ(Texgen({"compile", "a.txt", "a.prg"}).exitCode, 0);
  EXPECT_EQ(ReadWholeFile(folder.File("a.prg")).size(), 22020u);
  const ProcessResult exported = Texgen({"export", "a.prg"}), run = Texgen({"run", "a.prg", "a.png", "--size", "16x8"});
  EXPECT_EQ(exported.out, "list 0\nlist 1\nlist 2\nlist 3\nlist 4\ncolorLayer(4,10,20,30);\nblurLayer(4,4);\n");
  EXPECT_EQ(exported.exitCode, 0);
  EXPECT_EQ(std::pair(run.exitCode, run.out + run.err), std::pair(0, std::string()));
  Picture picture;
  std::string error;
  ASSERT_TRUE(ReadPng(folder.File("a.png"), picture, error)) << error;
  EXPECT_EQ(std::tuple(picture.width, picture.height, picture.channels), std::tuple(16, 8, 3));
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) ASSERT_EQ(picture.pixels[i], 10 * (i % 3 + 1)) << i;
  // Messages and exit codes: the first line of standard error, or of standard output with code 0.
  WriteWholeFile(folder.File("bad.txt"), "# fine\nblurLayer(1,2);\nwoodLayer(0,9,4);\n");
  const std::tuple<std::vector<std::string>, int, std::string> rows[] = {
      {{"compile", "bad.txt", "x"}, 1, "texgen: bad.txt:3: woodLayer argument 2 (target): layer 9 is outside 0 to 5"},
      {{"compile", "none.txt", "x.prg"}, 1, "texgen: none.txt: cannot be read"},
      {{"run", "none.prg", "x.png"}, 1, "texgen: I/O error 2 (file not found): none.prg"},
      {{"run", "a", "b", "--size", "0x64"}, 2, "texgen: --size takes WxH, e.g. 512x512"},
      {{"run", "a", "b", "--size"}, 2, "texgen: --size needs a value such as 512x512"},
      {{"run", "a"}, 2, "texgen: run takes PROGRAM and OUT.png"},
      {{"export"}, 2, "texgen: export takes one PROGRAM"},
      {{"compile", "a"}, 2, "texgen: compile takes SOURCE.txt and PROGRAM"},
      {{"frobnicate"}, 2, "texgen: unknown command \"frobnicate\""},
      {{}, 2, "texgen: no command given"},
      {{"--help"}, 0, "usage: texgen run PROGRAM OUT.png [--size WxH]"},
      {{"run", "--help"}, 0, "texgen run PROGRAM OUT.png [--size WxH]"},
      {{"export", "--help"}, 0, "texgen export PROGRAM"},
      {{"compile", "--help"}, 0, "texgen compile SOURCE.txt PROGRAM"}};
  for (const auto& [args, code, output] : rows) {
    const ProcessResult result = Texgen(args);
    const std::string& text = code == 0 ? result.out : result.err;
    EXPECT_EQ(std::pair(result.exitCode, text.substr(0, text.find('\n'))), std::pair(code, output));
  }
}

}  // namespace
