// The texgen tool as a subprocess: compile, export, run, and how it reports errors.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "texgen/internal/oplist.h"
#include "tests/support/subprocess.h"
#include "texgen/texgen.h"

namespace {

struct Outcome {
  int code;
  std::string output;  // stdout and stderr together
};

Outcome Texgen(const std::string& args) {
  const std::string command = std::string(TEXGEN_BINARY) + " " + args + " 2>&1";
  Outcome outcome{-1, {}};
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return outcome;
  std::array<char, 512> buffer;
  while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) outcome.output += buffer.data();
  const int status = pclose(pipe);
  outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

// Files go to a folder of this test process's own, removed when it exits.
std::string Temp(const char* name) {
  static const TempFolder folder;
  return folder.File(name);
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(TexgenTool, CompileExportRunRoundTrip) {
  const std::string source = Temp("tool_source.txt"), program = Temp("tool_program.bin"),
                    again = Temp("tool_again.txt"), program2 = Temp("tool_program2.bin"),
                    png = Temp("tool_out.png");
  WriteText(source, "list 4\ncolorLayer(4,10,20,30);\nblurLayer(4,4);\n");
  ASSERT_EQ(Texgen("compile " + source + " " + program).code, 0);
  EXPECT_EQ(ReadBytes(program).size(), 22020u);
  const Outcome exported = Texgen("export " + program);
  ASSERT_EQ(exported.code, 0) << exported.output;
  EXPECT_EQ(exported.output,
            "list 0\nlist 1\nlist 2\nlist 3\nlist 4\ncolorLayer(4,10,20,30);\nblurLayer(4,4);\n");
  WriteText(again, exported.output);
  ASSERT_EQ(Texgen("compile " + again + " " + program2).code, 0);
  EXPECT_EQ(ReadBytes(program), ReadBytes(program2));
  const Outcome run = Texgen("run " + program + " " + png + " --size 16x8");
  ASSERT_EQ(run.code, 0) << run.output;
  const std::string picture = ReadBytes(png);
  ASSERT_GT(picture.size(), 24u);
  EXPECT_EQ(picture.substr(1, 3), "PNG");
  EXPECT_EQ(static_cast<unsigned char>(picture[19]), 16);  // IHDR width
  EXPECT_EQ(static_cast<unsigned char>(picture[23]), 8);   // IHDR height
}

TEST(TexgenTool, ErrorsNameFileLineAndProblem) {
  const std::string source = Temp("tool_bad.txt"), program = Temp("tool_bad.bin");
  WriteText(source, "# fine\nblurLayer(1,2);\nwoodLayer(0,9,4);\n");
  Outcome o = Texgen("compile " + source + " " + program);
  EXPECT_NE(o.code, 0);
  EXPECT_NE(o.output.find(source + ":3: woodLayer argument 2 (target): layer 9 is outside 0 to 5"),
            std::string::npos)
      << o.output;
  o = Texgen("run " + Temp("tool_missing.bin") + " " + Temp("x.png"));
  EXPECT_NE(o.code, 0);
  EXPECT_NE(o.output.find("tool_missing.bin"), std::string::npos) << o.output;
  o = Texgen("run a b --size 100x64");
  EXPECT_NE(o.code, 0);
  o = Texgen("frobnicate");
  EXPECT_NE(o.output.find("unknown command"), std::string::npos) << o.output;
  for (const char* help : {"--help", "run --help", "export --help", "compile --help"}) {
    o = Texgen(help);
    EXPECT_EQ(o.code, 0) << help;
    EXPECT_NE(o.output.find("texgen"), std::string::npos) << help;
  }
}

}  // namespace
