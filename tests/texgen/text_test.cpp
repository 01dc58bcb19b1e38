#include <gtest/gtest.h>

#include <clocale>
#include <locale>

#include "texgen/texgen.h"
#include "texgen/internal/oplist.h"
#include "texgen/texgen.h"

namespace {

TEST(TexgenExport, ExamplesAndArgumentKinds) {
  EXPECT_EQ(ExportOp(33, OpParams{1, 2}), "blurLayer(1,2);");
  EXPECT_EQ(ExportOp(0, OpParams{0, 32, 7, 256, 1}), "subPlasma(0,32,7,256,true);");
  EXPECT_EQ(ExportOp(0, OpParams{0, 32, 7, 256, 0.5f}), "subPlasma(0,32,7,256,false);");
  EXPECT_EQ(ExportOp(9, OpParams{}), " ");
  EXPECT_EQ(ExportOp(-1, OpParams{}), " ");
  EXPECT_EQ(ExportOp(52, OpParams{}), " ");
  EXPECT_EQ(ExportOp(3, OpParams{2, 0.1f}), "particle(2,0.100000001490116);");
  // Ints are truncated toward zero; reals drop trailing zeros.
  EXPECT_EQ(ExportOp(45, OpParams{1.9f, 2, -3.7f, 4}), "moveDistort(1,2,-3,4);");
  EXPECT_EQ(ExportOp(45, OpParams{0, 1, 1e10f, -4294967296.0f}),
            "moveDistort(0,1,10000000000,-4294967296);");
  EXPECT_EQ(ExportOp(20, OpParams{0, 1, 2, 0.5f, -1.25f}), "scaleLayerRGB(0,1,2,0.5,-1.25);");
  EXPECT_EQ(ExportOp(1, OpParams{0, 1e20f, 3e-8f, 0}),
            "sinePlasma(0,1.00000002004088e+20,2.99999989294975e-08,0);");
}

TEST(TexgenExport, MandelBrotWritesWidthHeightAndTheFixedBailout) {
  EXPECT_EQ(ExportOp(7, OpParams{3, -2, -1.5f, 1, 1.5f, 99}), "mandelBrot(3,-2,3,-1.5,3,16);");
}

// A locale whose decimal separator is a comma must not leak into the text form.
struct CommaDecimal : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST(TexgenExport, DecimalPointIgnoresTheLocale) {
  const std::locale previous =
      std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
  const char* cLocale = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  const std::string text = ExportOp(3, OpParams{0, 2.5f});
  std::locale::global(previous);
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(text, "particle(0,2.5);") << (cLocale ? "with de_DE" : "without de_DE");
}

constexpr const char* kSource =
    "# a small program\n"
    "perlinNoise(0,32,7,256,128,6,true);\n"
    "list 3\n"
    "  mandelBrot(3, -2, 3, -1.5, 3, 16);   # spaces are allowed\n"
    "\n"
    "list 4\n"
    "subPlasma(4,16,0,256,false)\n"
    "mapDistort(4,3,4,0.100000001490116,-2.5);\n"
    "addLayers(0,4,4,0.5,0.5);\n"
    "moveDistort(4,4,10000000000,-3);\n"
    "list 3\n"
    "kaleidLayer(3,3,2);\n";

TEST(TexgenCompiler, CompilesListsSlotsAndParameters) {
  TexgenProgram program;
  const TexgenCompileResult r = CompileProgramText(kSource, program);
  ASSERT_TRUE(r.ok) << r.line << ": " << r.message;
  EXPECT_EQ(program[0].count, 1);
  EXPECT_EQ(program[1].count, 0);
  EXPECT_EQ(program[3].count, 2);
  EXPECT_EQ(program[4].count, 4);
  EXPECT_EQ(program[4].params[3][2], 1e10f);
  EXPECT_EQ(program[0].codes[0], 2);
  EXPECT_EQ(program[0].params[0][6], 1.0f);
  EXPECT_EQ(program[3].codes[0], 7);
  EXPECT_EQ(program[3].params[0][1], -2.0f);
  EXPECT_EQ(program[3].params[0][3], 1.0f);  // right edge = left + width
  EXPECT_EQ(program[3].params[0][4], 1.5f);
  EXPECT_EQ(program[3].params[0][5], 0.0f);  // the bailout is not stored
  EXPECT_EQ(program[4].params[1][3], 0.1f);
  EXPECT_EQ(program[3].codes[1], 46);
}

TEST(TexgenCompiler, CompileExportCompileGivesTheSameBytes) {
  TexgenProgram first;
  ASSERT_TRUE(CompileProgramText(kSource, first).ok);
  const std::string text = ExportProgram(first);
  EXPECT_NE(text.find("list 3\nmandelBrot(3,-2,3,-1.5,3,16);\nkaleidLayer(3,3,2);\n"),
            std::string::npos)
      << text;
  TexgenProgram second;
  const TexgenCompileResult r = CompileProgramText(text, second);
  ASSERT_TRUE(r.ok) << r.line << ": " << r.message;
  EXPECT_EQ(EncodeProgram(first), EncodeProgram(second));
  EXPECT_EQ(ExportProgram(second), text);
}

TEST(TexgenCompiler, ErrorsNameTheLineAndTheProblem) {
  struct Case {
    const char* text;
    int line;
    const char* message;
  };
  const Case cases[] = {
      {"blurLayer(1,2);\nblurLayr(1,2);\n", 2, "unknown operation \"blurLayr\""},
      {"blurLayer(1);", 1, "blurLayer takes 2 arguments, found 1"},
      {"\n\nblurLayer(1,6);", 3, "blurLayer argument 2 (target): layer 6 is outside 0 to 5"},
      {"subPlasma(0,32,7,256,yes);", 1, "expected true or false"},
      {"woodLayer(0,1,2.5);", 1, "expected an integer"},
      {"woodLayer(0,1,99999999999999999999);", 1, "expected an integer"},
      {"particle(0,abc);", 1, "expected a number"},
      {"mandelBrot(0,-2,3,-1.5,3,8);", 1, "the bailout is always 16"},
      {"list 5", 1, "list number from 0 to 4"},
      {"blurLayer 1,2", 1, "expected an operation call"},
  };
  for (const Case& c : cases) {
    TexgenProgram program;
    const TexgenCompileResult r = CompileProgramText(c.text, program);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_EQ(r.line, c.line) << c.text;
    EXPECT_NE(r.message.find(c.message), std::string::npos) << c.text << " -> " << r.message;
  }
  std::string full;
  for (int i = 0; i < 101; ++i) full += "blurLayer(0,0);\n";
  TexgenProgram program;
  const TexgenCompileResult r = CompileProgramText(full, program);
  EXPECT_EQ(r.line, 101);
  EXPECT_NE(r.message.find("full"), std::string::npos);
}

}  // namespace
