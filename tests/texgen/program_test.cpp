#include "texgen/internal/list_editor.h"

#include <cstdio>
#include <fstream>

#include "layer_test_support.h"
#include "texgen/internal/dispatch.h"
#include "texgen/internal/oplist.h"

namespace {

constexpr std::int32_t kColorLayer = 4, kAdjustRgb = 22, kInvert = 30, kBlur = 33;

OpParams Colour(int layer, int r, int g, int b) {
  return OpParams{static_cast<float>(layer), static_cast<float>(r), static_cast<float>(g),
                  static_cast<float>(b)};
}

using TexgenLists = LayersOf<8, 8>;

TEST_F(TexgenLists, AppendingAGeneratorRestartsTheList) {
  const OpParams blur{1, 1};
  ASSERT_TRUE(AddOp(1, false, kBlur, blur, -1).ok());
  ASSERT_TRUE(AddOp(1, false, kBlur, blur, -1).ok());
  ASSERT_TRUE(AddOp(1, false, kBlur, blur, -1).ok());
  EXPECT_EQ(generatorState.lists[1].count, 3);
  ASSERT_TRUE(AddOp(1, true, kColorLayer, Colour(1, 5, 6, 7), -1).ok());
  EXPECT_EQ(generatorState.lists[1].count, 1);
  EXPECT_EQ(generatorState.lists[1].codes[0], kColorLayer);
  EXPECT_TRUE(LayerIsUniform(1, Rgb{5, 6, 7}));  // run at once
}

TEST_F(TexgenLists, PositionedAddAndSetReplaceWithoutRunning) {
  ASSERT_TRUE(AddOp(0, true, kColorLayer, Colour(0, 1, 1, 1), -1).ok());
  ASSERT_TRUE(AddOp(0, true, kColorLayer, Colour(0, 9, 9, 9), 0).ok());
  EXPECT_TRUE(LayerIsUniform(0, Rgb{1, 1, 1}));
  EXPECT_EQ(generatorState.lists[0].params[0][1], 9.0f);
  ASSERT_TRUE(SetOp(0, 50, kBlur, OpParams{0, 0}).ok());
  EXPECT_EQ(generatorState.lists[0].codes[50], kBlur);
  EXPECT_EQ(generatorState.lists[0].count, 1);
}

TEST_F(TexgenLists, RemoveLastOpRerunsOrBlackens) {
  ASSERT_TRUE(AddOp(2, true, kColorLayer, Colour(2, 50, 60, 70), -1).ok());
  ASSERT_TRUE(RemoveLastOp(2, true).ok());
  EXPECT_EQ(generatorState.lists[2].count, 0);
  EXPECT_TRUE(LayerIsUniform(2, Rgb{0, 0, 0}));

  ASSERT_TRUE(AddOp(3, true, kColorLayer, Colour(3, 10, 10, 10), -1).ok());
  ASSERT_TRUE(AddOp(3, true, kAdjustRgb, OpParams{3, 3, 5, 5, 5}, -1).ok());
  ASSERT_TRUE(AddOp(3, true, kInvert, OpParams{3, 3}, -1).ok());
  EXPECT_TRUE(LayerIsUniform(3, Rgb{240, 240, 240}));
  ASSERT_TRUE(RemoveLastOp(3, true).ok());
  EXPECT_TRUE(LayerIsUniform(3, Rgb{15, 15, 15}));
  ASSERT_TRUE(RemoveLastOp(3, false).ok());
  EXPECT_TRUE(LayerIsUniform(3, Rgb{15, 15, 15}));  // no rerun: the layer stays
  EXPECT_EQ(generatorState.lists[3].count, 1);
}

TEST_F(TexgenLists, EditingRefusalsNameListAndSlot) {
  TexgenStatus s = AddOp(5, false, kBlur, OpParams{}, -1);
  EXPECT_NE(s.error.find("list 5"), std::string::npos) << s.error;
  s = AddOp(1, true, kBlur, OpParams{0, 6}, -1);
  EXPECT_NE(s.error.find("list 1, slot 0"), std::string::npos) << s.error;
  EXPECT_NE(s.error.find("target layer 6"), std::string::npos) << s.error;
  EXPECT_EQ(generatorState.lists[1].count, 0);
  s = SetOp(0, 100, kBlur, OpParams{});
  EXPECT_NE(s.error.find("list 0, slot 100"), std::string::npos) << s.error;
  for (int i = 0; i < kListSlots; ++i) ASSERT_TRUE(AddOp(4, false, kBlur, OpParams{}, -1).ok());
  s = AddOp(4, false, kBlur, OpParams{}, -1);
  EXPECT_NE(s.error.find("list 4 is full"), std::string::npos) << s.error;
  EXPECT_FALSE(RunOp(kBlur, OpParams{-1, 0}).ok());
  EXPECT_TRUE(RunOp(9, OpParams{}).ok());  // a code without an operation does nothing
  EXPECT_TRUE(RunOp(-3, OpParams{}).ok());
}

TEST(TexgenLayers, SizesMustBePowersOfTwoFromTwo) {
  EXPECT_FALSE(InitLayers(6, 8).ok());
  EXPECT_FALSE(InitLayers(8, 1).ok());
  EXPECT_FALSE(InitLayers(0, 8).ok());
  EXPECT_FALSE(InitLayers(-8, 8).ok());
  EXPECT_FALSE(InitLayers(1 << 20, 2).ok());
  ASSERT_TRUE(InitLayers(2, 4).ok());
  EXPECT_EQ(generatorState.maskX, 1);
  EXPECT_EQ(generatorState.maskY, 3);
  FreeLayers();
  EXPECT_FALSE(RunOp(kBlur, OpParams{0, 0}).ok());  // nothing allocated
}

TexgenProgram ColourProgram() {
  TexgenProgram program;
  program[4].count = 1;
  program[4].codes[0] = kColorLayer;
  program[4].params[0] = Colour(4, 1, 2, 3);
  program[4].codes[7] = kBlur;  // beyond count: carried, not run
  return program;
}

TEST(TexgenProgram, EmptyProgramGivesBlackPixelsWithZeroTopByte) {
  const std::vector<std::uint8_t> bytes(kProgramFileBytes, 0);
  std::vector<std::uint32_t> pixels(16 * 8, 0xFFFFFFFFu);
  ASSERT_TRUE(LoadAndRunBytes(pixels, bytes.data(), bytes.size(), 16, 8, false).ok());
  for (std::uint32_t p : pixels) ASSERT_EQ(p, 0u);
}

TEST(TexgenProgram, LayerFourBecomesRedGreenBluePixels) {
  std::vector<std::uint32_t> pixels;
  ASSERT_TRUE(RunProgram(pixels, ColourProgram(), 4, 2, true).ok());
  ASSERT_EQ(pixels.size(), 8u);
  for (std::uint32_t p : pixels) EXPECT_EQ(p, 0x00010203u);
  std::vector<std::uint32_t> small(3);
  EXPECT_FALSE(RunProgram(small, ColourProgram(), 4, 2, false).ok());
}

TEST(TexgenProgram, FileLayoutIsLittleEndianListAfterList) {
  TexgenProgram program = ColourProgram();
  program[1].count = 2;
  program[1].codes[1] = 0x01020304;
  program[1].params[99][9] = 1.0f;
  const std::vector<std::uint8_t> bytes = EncodeProgram(program);
  ASSERT_EQ(bytes.size(), 22020u);
  const std::size_t list1 = 4404, list4 = 4 * 4404;
  EXPECT_EQ(bytes[list1], 2);
  EXPECT_EQ(bytes[list1 + 4 + 4], 0x04);  // code of slot 1, low byte first
  EXPECT_EQ(bytes[list1 + 4 + 7], 0x01);
  EXPECT_EQ(bytes[list1 + 4403], 0x3F);  // 1.0f = 0x3F800000, last byte of the list
  EXPECT_EQ(bytes[list4 + 4], kColorLayer);
  EXPECT_EQ(bytes[list4 + 4 + 7 * 4], kBlur);       // slots beyond count carried
  EXPECT_EQ(bytes[list4 + 404 + 4 * 3 + 3], 0x40);  // param 3 of slot 0: 3.0f = 0x40400000
  TexgenProgram back;
  ASSERT_TRUE(DecodeProgram(bytes.data(), bytes.size(), back).ok());
  EXPECT_EQ(EncodeProgram(back), bytes);
}

TEST(TexgenProgram, RefusalsNameListAndSlot) {
  TexgenProgram program = ColourProgram();
  program[2].count = 101;
  std::vector<std::uint32_t> pixels;
  TexgenStatus s = RunProgram(pixels, program, 8, 8, true);
  EXPECT_NE(s.error.find("list 2: count 101"), std::string::npos) << s.error;
  EXPECT_TRUE(pixels.empty());  // refused before anything was touched
  program[2].count = -1;
  EXPECT_NE(RunProgram(pixels, program, 8, 8, true).error.find("list 2: count -1"),
            std::string::npos);
  program[2].count = 3;
  program[2].codes[2] = 42;  // mapDistort: source, map, target
  program[2].params[2] = OpParams{0, 1, 17};
  s = RunProgram(pixels, program, 8, 8, true);
  EXPECT_NE(s.error.find("list 2, slot 2: mapDistort: target layer 17"), std::string::npos)
      << s.error;
  EXPECT_FALSE(RunProgram(pixels, ColourProgram(), 12, 8, true).ok());
  EXPECT_FALSE(RunProgram(pixels, ColourProgram(), 8, 1, true).ok());
}

TEST(TexgenProgram, ProgramFilesMissingShortAndWhole) {
  const std::string path = ::testing::TempDir() + "texgen_program_test.bin";
  std::vector<std::uint32_t> pixels;
  std::remove(path.c_str());
  TexgenStatus s = LoadAndRun(pixels, path, 8, 8, true);
  EXPECT_NE(s.error.find("file not found"), std::string::npos) << s.error;
  { std::ofstream(path, std::ios::binary) << std::string(22019, '\0'); }
  s = LoadAndRun(pixels, path, 8, 8, true);
  EXPECT_NE(s.error.find(path), std::string::npos) << s.error;
  EXPECT_NE(s.error.find("22019"), std::string::npos) << s.error;
  ASSERT_TRUE(WriteProgramFile(path, ColourProgram()).ok());
  ASSERT_TRUE(LoadAndRun(pixels, path, 2, 2, true).ok());
  EXPECT_EQ(pixels, (std::vector<std::uint32_t>(4, 0x00010203u)));
  std::remove(path.c_str());
}

}  // namespace
