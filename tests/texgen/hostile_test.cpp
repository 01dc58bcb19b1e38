// Program files and texts from outside, whatever their bytes, are refused with a message or run inside the layers.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

#include "texgen/internal/dispatch.h"
#include "texgen/internal/oplist.h"
#include "texgen/texgen.h"

namespace {

// Extremes, valid layers, random bit patterns and ordinary values, a quarter each.
float NastyValue(std::mt19937& rng) {
  static const float kPool[] = {0, -0.0f, 1, -1, 2, 5, 6, 16, 255, 256, 4096, 0.5f, 1e-40f, 1e9f, -1e9f, 0x1p31f,
                                -0x1p31f, 3e38f, -3e38f, INFINITY, -INFINITY, NAN};
  const std::uint32_t kind = rng() % 4, r = rng();
  return kind == 0 ? kPool[r % std::size(kPool)] : kind == 1 ? static_cast<float>(r % 6)
         : kind == 2 ? std::bit_cast<float>(r) : static_cast<float>(static_cast<int>(r % 601) - 300) / 7.0f;
}

TEST(TexgenHostile, EveryOperationWithHostileArgumentsStaysInside) {
  std::mt19937 rng(2024);
  for (auto [w, h] : {std::pair{2, 2}, std::pair{8, 4}, std::pair{4, 16}}) {
    ASSERT_TRUE(InitLayers(w, h).ok());
    for (std::int32_t code = 0; code <= 51; ++code) {
      const OpInfo* op = FindOp(code);
      for (int round = 0; op != nullptr && round < 40; ++round) {
        OpParams p;
        std::generate(p.begin(), p.end(), [&] { return NastyValue(rng); });
        for (int a = 0; a < op->argCount; ++a)  // valid layers, so that the operation runs
          if (op->args[a].kind == ArgKind::kLayer) p[op->args[a].param] = rng() % 6;
        ASSERT_TRUE(RunOp(code, p).ok()) << ExportOp(code, p);
      }
    }
  }
  FreeLayers();
}

TEST(TexgenHostile, RandomBytesAreRefusedWithTheirPlaceOrRun) {
  std::mt19937 rng(99);
  std::vector<std::uint8_t> bytes(kProgramFileBytes);
  std::vector<std::uint32_t> pixels;
  int refused = 0;
  for (int round = 0; round < 200; ++round) {
    for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
    // Every other round has counts below 4 and codes below 54 in the first slots, so that operations
    // with random parameter bits get checked and run, not only refused for their count.
    for (int i = 0; round % 2 == 0 && i < 5 * kListCount; ++i) {
      std::uint8_t* word = bytes.data() + i / 5 * kListFileBytes + i % 5 * 4;
      word[0] = static_cast<std::uint8_t>(rng() % (i % 5 == 0 ? 4 : 54)), word[1] = word[2] = word[3] = 0;
    }
    const TexgenStatus s = LoadAndRunBytes(pixels, bytes.data(), bytes.size(), 4, 4, true);
    refused += !s.ok();
    EXPECT_TRUE(s.ok() || s.error.rfind("list ", 0) == 0) << s.error;  // names the list
  }
  EXPECT_TRUE(refused >= 100 && refused < 200) << refused;  // every round with random counts, not all
  EXPECT_EQ(LoadAndRunBytes(pixels, bytes.data(), 22019, 4, 4, true).error, "a program holds 22020 bytes, found 22019");
  // Huge counts and bad layers are refused with their place.
  std::fill(bytes.begin(), bytes.end(), 0);
  auto error = [&] { return LoadAndRunBytes(pixels, bytes.data(), 22020, 4, 4, true).error; };
  std::uint8_t* list3 = bytes.data() + 3 * kListFileBytes;
  list3[3] = 0x7F;
  EXPECT_EQ(error(), "list 3: count 2130706432 is outside 0 to 100");
  list3[3] = 0x80;
  EXPECT_EQ(error(), "list 3: count -2147483648 is outside 0 to 100");
  // One operation, blurLayer, whose source layer is -1.0f = 0xBF800000, one below the first.
  list3[0] = 1, list3[3] = 0, list3[4] = 33, list3[404 + 2] = 0x80, list3[404 + 3] = 0xBF;
  EXPECT_EQ(error(), "list 3, slot 0: blurLayer: source layer -1 is outside 0 to 5");
}

TEST(TexgenHostile, MangledSourceTextCompilesOrNamesALine) {
  const std::string valid = "list 1\nmandelBrot(1,-2,3,-1.5,3,16);\nsubPlasma(0,32,7,256,true);\n# comment\n"
                            "mapDistort(4,3,4,0.1,-2.5)\nlist 4\nkaleidLayer(3,3,2);\n";
  const std::string_view alphabet = "(),;#\n\t .-+e0123456789abclistrue";
  std::mt19937 rng(5);
  for (int round = 0; round < 2000; ++round) {
    std::string text = valid;
    for (int edits = 1 + rng() % 6; edits > 0 && !text.empty(); --edits) {
      const std::size_t at = rng() % text.size();
      if (rng() % 3 == 0) text.erase(at, 1 + rng() % 4);
      else text[at] = alphabet[rng() % alphabet.size()];
    }
    TexgenProgram program;
    const TexgenCompileResult r = CompileProgramText(text, program);  // whatever compiles can run
    ASSERT_TRUE(r.ok ? CheckProgram(program).ok() : r.line >= 1 && !r.message.empty()) << text;
  }
}

}  // namespace
