// TexgenProgram files are data from outside: whatever their bytes, running them is either refused
// with a message or finishes inside the layers. Run under AddressSanitizer by the sanitizer build.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "texgen/internal/dispatch.h"
#include "texgen/internal/layers.h"
#include "texgen/internal/oplist.h"
#include "texgen/texgen.h"

namespace {

float NastyValue(std::mt19937& rng) {
  static const float kPool[] = {0.0f,
                                -0.0f,
                                1.0f,
                                -1.0f,
                                2.0f,
                                5.0f,
                                6.0f,
                                16.0f,
                                255.0f,
                                256.0f,
                                1e9f,
                                -1e9f,
                                2147483648.0f,
                                -2147483648.0f,
                                3e38f,
                                -3e38f,
                                std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity(),
                                std::numeric_limits<float>::quiet_NaN(),
                                1e-40f,
                                0.5f,
                                4096.0f};
  switch (rng() % 4) {
    case 0:
      return kPool[rng() % std::size(kPool)];
    case 1:
      return static_cast<float>(rng() % 6);  // a valid layer
    case 2:
      return std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
    default:
      return static_cast<float>(static_cast<int>(rng() % 601) - 300) / 7.0f;
  }
}

// A program that passes the checks but carries hostile arguments: every operation gets run.
TexgenProgram HostileButValidProgram(std::mt19937& rng) {
  TexgenProgram program;
  for (OpList& list : program) {
    list.count = static_cast<std::int32_t>(rng() % 6);
    for (int slot = 0; slot < kListSlots; ++slot) {
      list.codes[slot] = static_cast<std::int32_t>(rng() % 54) - 1;
      for (float& p : list.params[slot]) p = NastyValue(rng);
      const OpInfo* op = FindOp(list.codes[slot]);
      if (op == nullptr) continue;
      for (int a = 0; a < op->argCount; ++a) {
        if (op->args[a].kind == ArgKind::kLayer) list.params[slot][op->args[a].param] = rng() % 6;
      }
    }
  }
  return program;
}

TEST(TexgenHostile, EveryOperationWithHostileArgumentsStaysInside) {
  std::mt19937 rng(2024);
  const std::int32_t sizes[][2] = {{2, 2}, {8, 4}, {4, 16}};
  std::vector<std::uint32_t> pixels;
  for (int round = 0; round < 150; ++round) {
    const TexgenProgram program = HostileButValidProgram(rng);
    const auto* size = sizes[round % std::size(sizes)];
    const TexgenStatus s = RunProgram(pixels, program, size[0], size[1], true);
    ASSERT_TRUE(s.ok()) << s.error;
  }
}

TEST(TexgenHostile, EachOperationAloneOnTheSmallestLayers) {
  ASSERT_TRUE(InitLayers(2, 2).ok());
  std::mt19937 rng(7);
  for (std::int32_t code = 0; code <= 51; ++code) {
    const OpInfo* op = FindOp(code);
    if (op == nullptr) continue;
    for (int round = 0; round < 40; ++round) {
      OpParams p;
      for (float& v : p) v = NastyValue(rng);
      for (int a = 0; a < op->argCount; ++a) {
        if (op->args[a].kind == ArgKind::kLayer) p[op->args[a].param] = rng() % 6;
      }
      ASSERT_TRUE(RunOp(code, p).ok()) << op->name;
    }
  }
  FreeLayers();
}

TEST(TexgenHostile, RandomBytesAreRefusedOrRun) {
  std::mt19937 rng(99);
  std::vector<std::uint8_t> bytes(kProgramFileBytes);
  std::vector<std::uint32_t> pixels;
  int refused = 0;
  for (int round = 0; round < 200; ++round) {
    for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
    // Every other round keeps counts and codes small so that operations with random parameter
    // bits (and random layer indices) get checked and run, not only refused for their count.
    if (round % 2 == 0) {
      for (int list = 0; list < kListCount; ++list) {
        std::uint8_t* base = bytes.data() + list * kListFileBytes;
        base[0] = static_cast<std::uint8_t>(rng() % 4);
        base[1] = base[2] = base[3] = 0;
        for (int slot = 0; slot < 4; ++slot) {
          base[4 + 4 * slot] = static_cast<std::uint8_t>(rng() % 54);
          base[5 + 4 * slot] = base[6 + 4 * slot] = base[7 + 4 * slot] = 0;
        }
      }
    }
    const TexgenStatus s = LoadAndRunBytes(pixels, bytes.data(), bytes.size(), 4, 4, true);
    if (!s.ok()) {
      ++refused;
      EXPECT_EQ(s.error.rfind("list ", 0), 0u) << s.error;
    }
  }
  EXPECT_GE(refused, 100);  // at least every round with random counts
  EXPECT_LT(refused, 200);  // and some programs ran
  EXPECT_FALSE(LoadAndRunBytes(pixels, bytes.data(), kProgramFileBytes - 1, 4, 4, true).ok());
}

TEST(TexgenHostile, HugeCountsAndBadLayersAreRefusedWithTheirPlace) {
  std::vector<std::uint8_t> bytes(kProgramFileBytes, 0);
  std::vector<std::uint32_t> pixels;
  bytes[3 * kListFileBytes + 3] = 0x7F;  // list 3 count 0x7F000000
  TexgenStatus s = LoadAndRunBytes(pixels, bytes.data(), bytes.size(), 4, 4, true);
  EXPECT_EQ(s.error, "list 3: count 2130706432 is outside 0 to 100");
  bytes[3 * kListFileBytes + 3] = 0x80;  // negative
  EXPECT_FALSE(LoadAndRunBytes(pixels, bytes.data(), bytes.size(), 4, 4, true).ok());
  bytes[3 * kListFileBytes + 3] = 0;
  bytes[3 * kListFileBytes] = 1;       // one operation in list 3
  bytes[3 * kListFileBytes + 4] = 33;  // blurLayer
  const float bad = -7.0f;             // its source layer
  const auto pattern = std::bit_cast<std::uint32_t>(bad);
  for (int i = 0; i < 4; ++i)
    bytes[3 * kListFileBytes + 404 + i] = static_cast<std::uint8_t>(pattern >> (8 * i));
  s = LoadAndRunBytes(pixels, bytes.data(), bytes.size(), 4, 4, true);
  EXPECT_EQ(s.error, "list 3, slot 0: blurLayer: source layer -7 is outside 0 to 5");
}

TEST(TexgenHostile, MangledSourceTextCompilesOrNamesALine) {
  const std::string valid =
      "list 1\nmandelBrot(1,-2,3,-1.5,3,16);\nsubPlasma(0,32,7,256,true);\n"
      "# comment\nmapDistort(4,3,4,0.1,-2.5)\nlist 4\nkaleidLayer(3,3,2);\n";
  const char alphabet[] = "(),;#\n\t .-+e0123456789abclistrue";
  std::mt19937 rng(5);
  for (int round = 0; round < 2000; ++round) {
    std::string text = valid;
    const int edits = 1 + static_cast<int>(rng() % 6);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = rng() % text.size();
      if (rng() % 3 == 0) {
        text.erase(at, 1 + rng() % 4);
      } else {
        text[at] = alphabet[rng() % (sizeof alphabet - 1)];
      }
      if (text.empty()) text = "(";
    }
    TexgenProgram program;
    const TexgenCompileResult r = CompileProgramText(text, program);
    if (r.ok) {
      ASSERT_TRUE(CheckProgram(program).ok()) << text;  // whatever compiles can run
    } else {
      ASSERT_GE(r.line, 1) << text;
      ASSERT_FALSE(r.message.empty()) << text;
    }
  }
}

}  // namespace
