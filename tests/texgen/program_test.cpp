// The operation codes, layers, list editor, program file, running programs, and the text form.
#include <clocale>
#include <locale>

#include "support.h"
#include "tests/support/subprocess.h"
#include "texgen/internal/list_editor.h"
#include "texgen/internal/oplist.h"

namespace {

constexpr std::int32_t kColorLayer = 4, kAddLayers = 10, kAdjustRgb = 22, kBlur = 33;

// The codes of the file format, -1 to 53: code N runs the operation named by its call text.
TEST(TexgenProgram, EveryCodeRunsItsOperationOnLayersOfTheSizesAllowed) {
  std::string names;
  for (std::int32_t code = -1; code <= 53; ++code) {
    const std::string call = ExportOp(code, OpParams{});
    names += call.substr(0, call.find('(')) + (call == " " ? "" : " ");
  }
  EXPECT_EQ(names,
            " subPlasma sinePlasma perlinNoise particle colorLayer checkerBoardLayer blobsLayer mandelBrot "
            "cellMachine  addLayers mulLayers randCombineLayers minCombineLayers maxCombineLayers xorLayers orLayers "
            "andLayers   scaleLayerRGB scaleLayerHSV adjustLayerRGB adjustLayerHSV sineLayerRGB equalizeRGB "
            "stretchRGB    invertLayer embossLayer woodLayer blurLayer sharpenLayer edgeHLayer edgeVLayer motionBlur "
            "makeTilable medianLayer sineDistort twirlLayer mapDistort tileLayer noiseDistort moveDistort "
            "kaleidLayer tunnelDistort sculptureLayer logPolLayer erodeLayer dilateLayer   ");
  // Layer sizes are powers of two from 2 to 4096; InitLayers blackens layers 0 to 4 and empties the lists.
  for (auto [w, h, ok] : {std::tuple{6, 8, false}, {8, 1, false}, {0, 8, false}, {8192, 2, false}, {4096, 2, true}})
    EXPECT_EQ(InitLayers(w, h).ok(), ok) << w << "x" << h;
  EXPECT_EQ(InitLayers(12, 8).error, "layer size refused: width 12 is not a power of two from 2 to 4096");
  ASSERT_TRUE(InitLayers(2, 4).ok());
  EXPECT_EQ(std::pair(generatorState.maskX, generatorState.maskY), std::pair(1, 3));
  for (int layer = 0; layer < 6; ++layer) std::fill_n(LayerData(layer), LayerBytes(), 9);
  generatorState.lists[2].count = 7;
  ASSERT_TRUE(InitLayers(2, 4).ok());  // layers 0 to 4 black, lists empty; 5 keeps its bytes
  for (int layer = 0; layer < 6; ++layer) EXPECT_EQ(LayerIs(layer, Rgb{0, 0, 0}), layer < 5);
  EXPECT_EQ(generatorState.lists[2].count, 0);
  FreeLayers();
  EXPECT_EQ(RunOp(kBlur, OpParams{0, 0}).error, "the layers are not allocated (InitLayers first)");
}

OpParams Colour(int layer, int value) { return OpParams{float(layer), float(value), float(value), float(value)}; }

using TexgenEditor = LayersOf<8, 8>;

TEST_F(TexgenEditor, AppendReplaceRemoveAndRefusalsNamingListAndSlot) {
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(AddOp(1, false, kBlur, OpParams{1, 1}, -1).ok());
  // A generator restarts the list, code 10 appends, both run at once; a position replaces, SetOp runs nothing.
  ASSERT_TRUE(AddOp(1, true, kColorLayer, Colour(1, 5), -1).ok());
  ASSERT_TRUE(AddOp(1, true, kAddLayers, OpParams{1, 1, 1, 1, 1}, -1).ok());
  EXPECT_TRUE(LayerIs(1, Rgb{10, 10, 10}));
  ASSERT_TRUE(AddOp(1, true, kColorLayer, Colour(1, 9), 0).ok() && SetOp(1, 50, kBlur, OpParams{0, 0}).ok());
  EXPECT_TRUE(LayerIs(1, Rgb{10, 10, 10}));
  const OpList& list = generatorState.lists[1];
  EXPECT_EQ(std::tuple(list.count, list.codes[1], list.codes[50]), std::tuple(2, kAddLayers, kBlur));
  ASSERT_TRUE(RemoveLastOp(1, true).ok());  // the rest runs again from slot 0
  EXPECT_TRUE(LayerIs(1, Rgb{9, 9, 9}));
  ASSERT_TRUE(AddOp(3, true, kAdjustRgb, OpParams{1, 3, 5, 5, 5}, -1).ok());
  ASSERT_TRUE(RemoveLastOp(3, false).ok());  // no rerun: the layer stays
  EXPECT_TRUE(LayerIs(3, Rgb{14, 14, 14}));
  ASSERT_TRUE(RemoveLastOp(1, true).ok());
  EXPECT_TRUE(LayerIs(1, Rgb{0, 0, 0}));  // none left: layer number `list` is blackened
  EXPECT_EQ(list.count, 0);
  const std::pair<TexgenStatus, const char*> cases[] = {
      {AddOp(5, false, kBlur, OpParams{}, -1), "list 5 is outside 0 to 4"},
      {AddOp(1, true, kBlur, OpParams{0, 6}, -1), "list 1, slot 0: blurLayer: target layer 6 is outside 0 to 5"},
      {SetOp(0, 100, kBlur, OpParams{}), "list 0, slot 100: slots are 0 to 99"},
      {SetOp(0, -1, kBlur, OpParams{}), "list 0, slot -1: slots are 0 to 99"},
      {RunOp(kBlur, OpParams{-1, 0}), "blurLayer: source layer -1 is outside 0 to 5"},
      {RunOp(9, OpParams{}), ""}, {RunOp(-3, OpParams{}), ""}};  // a code without an operation does nothing
  for (const auto& [status, error] : cases) EXPECT_EQ(status.error, error);
  EXPECT_EQ(list.count, 0);
  for (int i = 0; i < kListSlots; ++i) ASSERT_TRUE(AddOp(4, false, kBlur, OpParams{}, -1).ok()) << i;
  EXPECT_EQ(AddOp(4, false, kBlur, OpParams{}, -1).error, "list 4 is full (100 operations)");
  EXPECT_TRUE(AddOp(4, false, kColorLayer, OpParams{}, -1).ok());  // a generator restarts it
}

// Layer 3 is not the picture; list 4 runs in order, and its slot 7 beyond the count is not run.
TexgenProgram ColourProgram() {
  TexgenProgram program;
  program[3].count = 1, program[3].codes[0] = kColorLayer, program[3].params[0] = Colour(3, 7);
  program[4].count = 2, program[4].codes = {kColorLayer, kAdjustRgb, 0, 0, 0, 0, 0, kBlur};
  program[4].params[0] = OpParams{4, 11, 2, 3}, program[4].params[1] = OpParams{4, 4, -10, 0, 0};
  return program;
}

TEST(TexgenProgram, FileLayoutRunningAndRefusals) {
  TexgenProgram program = ColourProgram();
  program[1].codes[1] = 0x01020304;
  program[1].params[99][9] = 1.0f;
  const std::vector<std::uint8_t> bytes = EncodeProgram(program);
  ASSERT_EQ(bytes.size(), 22020u);
  // Lists 1 and 4 start at 4404 and 17616: slot 1's code, low byte first; 1.0f = 0x3F800000 ends the list;
  // list 4's count; slot 7's code; 3.0f = 0x40400000 (slot 0, parameter 3); -10.0f = 0xC1200000 (slot 1, 2).
  const std::pair<std::size_t, int> expected[] = {{4412, 0x04},   {4415, 0x01},        {8807, 0x3F},      {17616, 2},
                                                  {17648, kBlur}, {17616 + 419, 0x40}, {17616 + 455, 0xC1}};
  for (auto [offset, value] : expected) EXPECT_EQ(bytes[offset], value) << offset;
  TexgenProgram back;
  ASSERT_TRUE(DecodeProgram(bytes.data(), bytes.size(), back).ok());
  EXPECT_EQ(EncodeProgram(back), bytes);
  // Layer 4 becomes the pixels (0x00RRGGBB); refusals come before anything runs or is touched (the
  // hostile tests name the list and slot of counts and layers); the file's own I/O errors.
  const std::vector<std::uint8_t> empty(kProgramFileBytes, 0);
  std::vector<std::uint32_t> pixels(16 * 8, 0xFFFFFFFFu), small(7);
  ASSERT_TRUE(LoadAndRunBytes(pixels, empty.data(), empty.size(), 16, 8, false).ok());
  EXPECT_EQ(pixels, std::vector<std::uint32_t>(16 * 8, 0));
  TempFolder folder;
  const std::string path = folder.File("p.bin"), shortFile = folder.File("short.bin"), missing = folder.File("none");
  ASSERT_TRUE(WriteProgramFile(path, program = ColourProgram()).ok());
  ASSERT_TRUE(LoadAndRun(pixels, path, 4, 2, true).ok());
  EXPECT_EQ(pixels, std::vector<std::uint32_t>(8, 0x00010203u));
  EXPECT_EQ(LoadAndRun(small, path, 4, 2, false).error,
            path + ": the pixel buffer holds 7 pixels, the picture needs 8");
  EXPECT_EQ(LoadAndRun(pixels, path, 3, 2, true).error,
            path + ": layer size refused: width 3 is not a power of two from 2 to 4096");
  program[2].count = 100;
  EXPECT_TRUE(CheckListCounts(program).ok());
  program[2].count = 101, pixels.clear();
  EXPECT_EQ(CheckListCounts(program).error, "list 2: count 101 is outside 0 to 100");
  EXPECT_FALSE(RunProgram(pixels, program, 8, 8, true).ok());
  EXPECT_TRUE(pixels.empty());
  WriteWholeFile(shortFile, std::string(22019, '\0'));
  EXPECT_EQ(LoadAndRun(pixels, shortFile, 8, 8, true).error,
            "I/O error 100 (read past the end of the file): " + shortFile + " (22019 bytes; a program holds 22020)");
  EXPECT_EQ(WriteProgramFile("/dev/full", program).error, "I/O error 101 (write error): /dev/full");
  EXPECT_EQ(WriteProgramFile(missing + "/p.bin", program).error, "I/O error 3 (path not found): " + missing + "/p.bin");
}

struct CommaDecimal : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

// Ints truncate toward zero, reals are the single widened with 15 digits and no trailing zeros, a flag
// is true exactly for 1.0, mandelBrot writes its spans and the fixed bailout; a locale whose decimal
// separator is a comma (C++'s, and de_DE where installed) does not leak into the text.
TEST(TexgenText, ExportOpWritesEachKindOfArgumentWhateverTheLocale) {
  const std::tuple<std::int32_t, OpParams, const char*> rows[] = {
      {0, {0, 32, 7, 256, 1}, "subPlasma(0,32,7,256,true);"},
      {0, {0, 32, 7, 256, 0.5f}, "subPlasma(0,32,7,256,false);"},
      {9, {}, " "}, {52, {}, " "}, {3, {2, 0.1f}, "particle(2,0.100000001490116);"},
      {45, {1.9f, 2, -3.7f, 1e10f}, "moveDistort(1,2,-3,10000000000);"},
      {1, {0, 1e20f, 3e-8f, -1.25f}, "sinePlasma(0,1.00000002004088e+20,2.99999989294975e-08,-1.25);"},
      {7, {3, -2, -1.5f, 1, 1.5f, 99}, "mandelBrot(3,-2,3,-1.5,3,16);"}};
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  std::vector<std::string> texts;
  for (const auto& [code, params, text] : rows) texts.push_back(ExportOp(code, params));
  std::locale::global(previous), std::setlocale(LC_NUMERIC, "C");
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i], std::get<2>(rows[i])) << std::get<0>(rows[i]);
}

TEST(TexgenText, CompileExportCompileKeepsTheProgramAndErrorsNameTheirLine) {
  TexgenProgram first;
  const TexgenCompileResult r = CompileProgramText(
      "# a program\nperlinNoise(0,32,7,256,128,6,true);\nlist 3\n  mandelBrot(3, -2, 3, -1.5, 3, 16);  # spaces\n\n"
      "list 4\nsubPlasma(4,16,0,256,false)\nmapDistort(4,3,4,0.1,+2.5);\nmoveDistort(4,4,10000000000,-3)\n"
      "list 3\nkaleidLayer(3,3,2);\n",
      first);
  ASSERT_TRUE(r.ok) << r.line << ": " << r.message;
  EXPECT_EQ(first[3].params[0], (OpParams{3, -2, -1.5f, 1, 1.5f}));  // right = left + width
  first[2].count = 2, first[2].codes[0] = 9;  // no such operation: a comment line
  const std::string text = ExportProgram(first);
  EXPECT_EQ(text,
      "list 0\nperlinNoise(0,32,7,256,128,6,true);\nlist 1\nlist 2\n# slot 0: code 9 has no operation\n"
      "subPlasma(0,0,0,0,false);\nlist 3\nmandelBrot(3,-2,3,-1.5,3,16);\nkaleidLayer(3,3,2);\nlist 4\n"
      "subPlasma(4,16,0,256,false);\nmapDistort(4,3,4,0.100000001490116,2.5);\nmoveDistort(4,4,10000000000,-3);\n");
  TexgenProgram second;
  ASSERT_TRUE(CompileProgramText(text, second).ok);
  first[2] = OpList{1, {0}};  // the comment compiles to nothing
  EXPECT_EQ(EncodeProgram(second), EncodeProgram(first));
  // Errors name the line and the problem.
  std::string full;
  for (int i = 0; i < 101; ++i) full += "blurLayer(0,0);\n";  // one too many
  const std::tuple<std::string, int, const char*> rows[] = {
      {"blurLayer(1,2);\nblurLayr(1,2);\n", 2, "unknown operation \"blurLayr\""},
      {"blurLayer(1);", 1, "blurLayer takes 2 arguments, found 1"},
      {"subPlasma(0,32,7,256,yes);", 1, "subPlasma argument 5 (colour): expected true or false, found \"yes\""},
      {"woodLayer(0,1,2.5);", 1, "woodLayer argument 3 (bits): expected an integer, found \"2.5\""},
      {"woodLayer(0,1,99999999999999999999);", 1,
       "woodLayer argument 3 (bits): expected an integer, found \"99999999999999999999\""},
      {"particle(0,abc);", 1, "particle argument 2 (falloff): expected a number, found \"abc\""},
      {"mandelBrot(0,-2,3,-1.5,3,8);", 1, "mandelBrot argument 6 (bailout): the bailout is always 16"},
      {"list 5", 1, "\"list\" needs a list number from 0 to 4, found \"5\""},
      {"blurLayer 1,2", 1, "expected an operation call such as \"blurLayer(1,2);\", found \"blurLayer 1,2\""},
      {full, 101, "list 0 is full (100 operations)"}};
  for (const auto& [text, line, message] : rows) {
    TexgenProgram program;
    const TexgenCompileResult r = CompileProgramText(text, program);
    EXPECT_EQ(std::tuple(r.ok, r.line, r.message), std::tuple(false, line, std::string(message))) << text;
  }
}

}  // namespace
