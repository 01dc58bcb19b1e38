// The text form: ExportOp, ExportProgram and the compiler that reads them back.
#include <gtest/gtest.h>

#include <clocale>
#include <locale>

#include "texgen/texgen.h"

namespace {

// Ints truncate toward zero, reals are the single widened with 15 digits and no trailing zeros,
// a flag is true exactly for 1.0, mandelBrot writes its spans and the fixed bailout.
TEST(TexgenText, ExportOpWritesEachKindOfArgument) {
  const struct {
    std::int32_t code;
    OpParams params;
    const char* text;
  } cases[] = {
      {33, {1, 2}, "blurLayer(1,2);"},
      {0, {0, 32, 7, 256, 1}, "subPlasma(0,32,7,256,true);"},
      {0, {0, 32, 7, 256, 0.5f}, "subPlasma(0,32,7,256,false);"},
      {9, {}, " "},
      {52, {}, " "},
      {3, {2, 0.1f}, "particle(2,0.100000001490116);"},
      {45, {1.9f, 2, -3.7f, 1e10f}, "moveDistort(1,2,-3,10000000000);"},
      {1,
       {0, 1e20f, 3e-8f, -1.25f},
       "sinePlasma(0,1.00000002004088e+20,2.99999989294975e-08,-1.25);"},
      {7, {3, -2, -1.5f, 1, 1.5f, 99}, "mandelBrot(3,-2,3,-1.5,3,16);"},
      {40, {0, 1, 2, 3, 4, 5}, "sineDistort(0,1,2,3,4,5);"},
  };
  for (const auto& row : cases) EXPECT_EQ(ExportOp(row.code, row.params), row.text) << row.code;
}

// A locale whose decimal separator is a comma must not leak into the text form.
struct CommaDecimal : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST(TexgenText, DecimalPointIgnoresTheLocale) {
  const std::locale previous =
      std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
  const char* cLocale = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  const std::string text = ExportOp(3, OpParams{0, 2.5f});
  std::locale::global(previous);
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(text, "particle(0,2.5);") << (cLocale ? "with de_DE" : "without de_DE");
}

TEST(TexgenText, CompileExportCompileKeepsTheProgram) {
  TexgenProgram first;
  const TexgenCompileResult r = CompileProgramText(
      "# a small program\nperlinNoise(0,32,7,256,128,6,true);\nlist 3\n"
      "  mandelBrot(3, -2, 3, -1.5, 3, 16);   # spaces are allowed\n\nlist 4\n"
      "subPlasma(4,16,0,256,false)\nmapDistort(4,3,4,0.1,+2.5);\nmoveDistort(4,4,10000000000,-3)\n"
      "list 3\nkaleidLayer(3,3,2);\n",
      first);
  ASSERT_TRUE(r.ok) << r.line << ": " << r.message;
  EXPECT_EQ(first[3].params[0], (OpParams{3, -2, -1.5f, 1, 1.5f}));  // right = left + width
  first[2].count = 2;
  first[2].codes[0] = 9;  // no such operation: a comment line
  const std::string text = ExportProgram(first);
  EXPECT_EQ(text,
            "list 0\nperlinNoise(0,32,7,256,128,6,true);\nlist 1\nlist 2\n"
            "# slot 0: code 9 has no operation\nsubPlasma(0,0,0,0,false);\nlist 3\n"
            "mandelBrot(3,-2,3,-1.5,3,16);\nkaleidLayer(3,3,2);\nlist 4\n"
            "subPlasma(4,16,0,256,false);\nmapDistort(4,3,4,0.100000001490116,2.5);\n"
            "moveDistort(4,4,10000000000,-3);\n");
  TexgenProgram second;
  ASSERT_TRUE(CompileProgramText(text, second).ok);
  first[2] = OpList{1, {0}};  // the comment compiles to nothing
  EXPECT_EQ(EncodeProgram(second), EncodeProgram(first));
}

TEST(TexgenText, CompileErrorsNameTheLineAndTheProblem) {
  std::string full;
  for (int i = 0; i < 101; ++i) full += "blurLayer(0,0);\n";
  const struct {
    std::string text;
    int line;
    const char* message;
  } cases[] = {
      {"blurLayer(1,2);\nblurLayr(1,2);\n", 2, "unknown operation \"blurLayr\""},
      {"blurLayer(1);", 1, "blurLayer takes 2 arguments, found 1"},
      {"\n\nblurLayer(1,6);", 3, "blurLayer argument 2 (target): layer 6 is outside 0 to 5"},
      {"subPlasma(0,32,7,256,yes);", 1,
       "subPlasma argument 5 (colour): expected true or false, found \"yes\""},
      {"woodLayer(0,1,2.5);", 1, "woodLayer argument 3 (bits): expected an integer, found \"2.5\""},
      {"woodLayer(0,1,99999999999999999999);", 1,
       "woodLayer argument 3 (bits): expected an integer, found \"99999999999999999999\""},
      {"particle(0,abc);", 1, "particle argument 2 (falloff): expected a number, found \"abc\""},
      {"mandelBrot(0,-2,3,-1.5,3,8);", 1,
       "mandelBrot argument 6 (bailout): the bailout is always 16"},
      {"list 5", 1, "\"list\" needs a list number from 0 to 4, found \"5\""},
      {"blurLayer 1,2", 1,
       "expected an operation call such as \"blurLayer(1,2);\", found \"blurLayer 1,2\""},
      {full, 101, "list 0 is full (100 operations)"},
  };
  for (const auto& c : cases) {
    TexgenProgram program;
    const TexgenCompileResult r = CompileProgramText(c.text, program);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_EQ(r.line, c.line) << c.text;
    EXPECT_EQ(r.message, c.message) << c.text;
  }
}

}  // namespace
