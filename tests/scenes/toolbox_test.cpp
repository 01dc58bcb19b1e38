// The toolbox's computations, without a GL context: the beat counter and the choices it drives, the
// demo's random generator, the cube grid's bounds, the tapered box's geometry and the wave sheet's
// fade-in.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <set>
#include <vector>

#include "scenes/beat_clock.h"
#include "scenes/beat_overlay.h"
#include "scenes/cube_grid.h"
#include "scenes/demo_random.h"
#include "scenes/tapered_box.h"
#include "scenes/wave_sheet.h"

namespace {

// ---- beat counter ----

TEST(BeatClock, PeriodSwitchMakesTheCountJump) {
  EXPECT_EQ(BeatPeriod(84530), 1925);
  EXPECT_EQ(BeatNumber(84530), 44);
  EXPECT_EQ(BeatPeriod(84531), 481);
  EXPECT_EQ(BeatNumber(84531), 176);
}

TEST(BeatClock, FirstBeatBeginsTwoHundredMillisecondsEarly) {
  EXPECT_EQ(BeatNumber(0), 0);
  EXPECT_EQ(BeatNumber(1724), 0);
  EXPECT_EQ(BeatNumber(1725), 1);
  EXPECT_EQ(BeatPhase(1725), 0);
  EXPECT_EQ(BeatPhase(1724), 1924);
}

TEST(BeatClock, PhaseRunsThroughOneFastBeat) {
  // 84531 + 200 = 84731 = 176 * 481 + 75.
  EXPECT_EQ(BeatPhase(84531), 75);
  EXPECT_EQ(BeatNumber(84531 + 481 - 75), 177);
  EXPECT_EQ(BeatPhase(84531 + 481 - 75), 0);
}

// ---- beat overlay choices ----

class BeatOverlayChoices : public ::testing::Test {
 protected:
  void SetUp() override {
    savedRandom_ = DemoRandomState();
    ResetBeatOverlay();
  }
  void TearDown() override {
    ResetBeatOverlay();
    SetDemoRandomState(savedRandom_);
  }
  std::uint32_t savedRandom_ = 0;
};

TEST_F(BeatOverlayChoices, NothingIsChosenBeforeTheFirstBeat) {
  const std::uint32_t before = DemoRandomState();
  EXPECT_FALSE(AdvanceBeatOverlay(0));
  EXPECT_FALSE(AdvanceBeatOverlay(1724));
  EXPECT_EQ(DemoRandomState(), before) << "no draw without a new beat";
  EXPECT_EQ(overlayRepeat, 0);
  EXPECT_EQ(overlayChoice, 0);
  EXPECT_EQ(textRow, 0);
}

TEST_F(BeatOverlayChoices, EachNewBeatDrawsTilingThenSilhouette) {
  SetDemoRandomState(12345);
  const std::int32_t expectedRepeat = DemoRandom(4) + 1;
  const std::int32_t expectedChoice = DemoRandom(6);
  const std::uint32_t afterTwoDraws = DemoRandomState();
  SetDemoRandomState(12345);

  EXPECT_TRUE(AdvanceBeatOverlay(1725));
  EXPECT_EQ(lastBeat, 1);
  EXPECT_EQ(overlayRepeat, expectedRepeat);
  EXPECT_EQ(overlayChoice, expectedChoice);
  EXPECT_EQ(textRow, 1);
  EXPECT_EQ(DemoRandomState(), afterTwoDraws);

  EXPECT_FALSE(AdvanceBeatOverlay(1725 + 1924)) << "same beat";
  EXPECT_EQ(DemoRandomState(), afterTwoDraws);
}

TEST_F(BeatOverlayChoices, ChoicesStayInTheirRanges) {
  std::set<std::int32_t> repeats, choices;
  for (std::int32_t beat = 1; beat <= 400; ++beat) {
    ASSERT_TRUE(AdvanceBeatOverlay(beat * 1925 - 200));
    repeats.insert(overlayRepeat);
    choices.insert(overlayChoice);
  }
  EXPECT_EQ(repeats, (std::set<std::int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(choices, (std::set<std::int32_t>{0, 1, 2, 3, 4, 5}));
}

TEST_F(BeatOverlayChoices, TextRowWrapsAfterFortySix) {
  std::vector<std::int32_t> rows;
  for (std::int32_t beat = 1; beat <= 48; ++beat) {
    AdvanceBeatOverlay(beat * 1925 - 200);
    rows.push_back(textRow);
  }
  EXPECT_EQ(rows[0], 1);
  EXPECT_EQ(rows[45], 46);
  EXPECT_EQ(rows[46], 0);
  EXPECT_EQ(rows[47], 1);
  EXPECT_EQ(std::set<std::int32_t>(rows.begin(), rows.end()).size(), 47u);
}

TEST_F(BeatOverlayChoices, PeriodSwitchMakesOneChoiceAndTheCountNeverGoesBack) {
  AdvanceBeatOverlay(84530);
  EXPECT_EQ(lastBeat, 44);
  const std::int32_t rowBefore = textRow;
  EXPECT_TRUE(AdvanceBeatOverlay(84531));
  EXPECT_EQ(lastBeat, 176);
  EXPECT_EQ(textRow, rowBefore + 1) << "one new line for the jump of 132 beats";
  EXPECT_FALSE(AdvanceBeatOverlay(84530)) << "an earlier time is an older beat";
  EXPECT_EQ(lastBeat, 176);
  EXPECT_TRUE(AdvanceBeatOverlay(84531 + 481 - 75));
  EXPECT_EQ(lastBeat, 177);
}

// ---- random generator ----

TEST(DemoRandomGenerator, SameStateGivesTheSameSequence) {
  const std::uint32_t saved = DemoRandomState();
  SetDemoRandomState(kDemoRandomSeed);
  std::vector<std::int32_t> first;
  for (int k = 0; k < 100; ++k) first.push_back(DemoRandom(200));
  SetDemoRandomState(kDemoRandomSeed);
  for (int k = 0; k < 100; ++k) EXPECT_EQ(DemoRandom(200), first[static_cast<std::size_t>(k)]) << "draw " << k;
  SetDemoRandomState(saved);
}

TEST(DemoRandomGenerator, DrawsAreUniformOverTheirRange) {
  const std::uint32_t saved = DemoRandomState();
  SetDemoRandomState(7);
  std::array<int, 6> counts{};
  constexpr int kDraws = 60000;
  for (int k = 0; k < kDraws; ++k) {
    const std::int32_t value = DemoRandom(6);
    ASSERT_GE(value, 0);
    ASSERT_LT(value, 6);
    ++counts[static_cast<std::size_t>(value)];
  }
  for (int count : counts) EXPECT_NEAR(count, kDraws / 6, kDraws / 60);
  // The low bit alternates in a plain power-of-two LCG; the draws must not.
  int evenAfterEven = 0, evenDraws = 0;
  std::int32_t previous = DemoRandom(2);
  for (int k = 0; k < 10000; ++k) {
    const std::int32_t value = DemoRandom(2);
    if (previous == 0) {
      ++evenDraws;
      if (value == 0) ++evenAfterEven;
    }
    previous = value;
  }
  EXPECT_NEAR(static_cast<double>(evenAfterEven) / evenDraws, 0.5, 0.05);
  SetDemoRandomState(saved);
}

TEST(DemoRandomGenerator, EmptyRangeGivesZeroWithoutDrawing) {
  const std::uint32_t before = DemoRandomState();
  EXPECT_EQ(DemoRandom(0), 0);
  EXPECT_EQ(DemoRandom(-3), 0);
  EXPECT_EQ(DemoRandomState(), before);
}

// ---- cube grid ----

class CubeGridCells : public ::testing::Test {
 protected:
  void SetUp() override { ClearCubeGrid(0.25f, 0.5f, 0.75f, 1.0f); }

  bool GridEquals(const std::vector<std::uint8_t>& colours, const std::vector<std::uint8_t>& offsets) const {
    return std::memcmp(colours.data(), cubeColour, colours.size()) == 0 &&
           std::memcmp(offsets.data(), cubeOffset, offsets.size()) == 0;
  }
  static std::vector<std::uint8_t> Snapshot(const void* table, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(table);
    return std::vector<std::uint8_t>(bytes, bytes + size);
  }
};

TEST_F(CubeGridCells, ClearSetsEveryCellAndZeroesTheOffsets) {
  SetCubeDepth(3, 4, 7.0f);
  ClearCubeGrid(1, 0, 0, 0.5f);
  for (int x : {0, 320, 640}) {
    for (int y : {0, 240, 480}) {
      EXPECT_EQ(cubeColour[x][y].r, 1.0f);
      EXPECT_EQ(cubeColour[x][y].a, 0.5f);
      EXPECT_EQ(cubeOffset[x][y].dz, 0.0f);
    }
  }
  EXPECT_EQ(cubeOffset[3][4].dz, 0.0f);
}

TEST_F(CubeGridCells, OutOfRangeCellsChangeNothing) {
  const auto colours = Snapshot(cubeColour, sizeof cubeColour);
  const auto offsets = Snapshot(cubeOffset, sizeof cubeOffset);
  const std::array<std::array<std::int32_t, 2>, 6> outside = {
      {{641, 0}, {0, -1}, {-1, 0}, {0, 481}, {641, 481}, {-2147483647 - 1, 2147483647}}};
  for (const auto& cell : outside) {
    SetCubeColour(cell[0], cell[1], 0, 0, 0, 0);
    SetCubeDepth(cell[0], cell[1], 99.0f);
  }
  EXPECT_TRUE(GridEquals(colours, offsets));
}

TEST_F(CubeGridCells, CornerCellsAreInsideAndChangeOnlyThemselves) {
  SetCubeColour(640, 480, 1, 0.75f, 0, 1);
  SetCubeDepth(0, 0, 20.0f);
  EXPECT_EQ(cubeColour[640][480].g, 0.75f);
  EXPECT_EQ(cubeOffset[0][0].dz, 20.0f);
  EXPECT_EQ(cubeOffset[0][0].dx, 0.0f);
  EXPECT_EQ(cubeColour[0][0].g, 0.5f) << "depth leaves the colour";
  EXPECT_EQ(cubeColour[639][480].g, 0.5f);
  EXPECT_EQ(cubeColour[640][479].g, 0.5f);
  EXPECT_EQ(cubeOffset[1][0].dz, 0.0f);
  EXPECT_EQ(cubeOffset[0][1].dz, 0.0f);
}

// ---- tapered box ----

struct Vec {
  double x, y, z;
};
Vec Position(const TaperedBoxVertex& v) { return {v.position[0], v.position[1], v.position[2]}; }
Vec Minus(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

TEST(TaperedBox, CubeFacesLieOnTheirSidesAndFaceOutwards) {
  const Vec centre{3, -2, 5};
  const double half = 1.5;
  const auto vertices = TaperedBoxVertices(centre.x, centre.y, centre.z, half, centre.x, centre.y, centre.z, half);
  std::set<std::array<int, 3>> normals;
  for (int face = 0; face < 6; ++face) {
    const TaperedBoxVertex* v = &vertices[static_cast<std::size_t>(face * 4)];
    const Vec normal{v[0].normal[0], v[0].normal[1], v[0].normal[2]};
    normals.insert({static_cast<int>(normal.x), static_cast<int>(normal.y), static_cast<int>(normal.z)});
    for (int corner = 0; corner < 4; ++corner) {
      EXPECT_EQ(v[corner].normal[0], normal.x);
      EXPECT_DOUBLE_EQ(Dot(Minus(Position(v[corner]), centre), normal), half) << "face " << face;
    }
    // Counter-clockwise seen from outside: the winding agrees with the normal.
    const Vec winding = Cross(Minus(Position(v[1]), Position(v[0])), Minus(Position(v[2]), Position(v[1])));
    EXPECT_GT(Dot(winding, normal), 0) << "face " << face;
  }
  EXPECT_EQ(normals.size(), 6u);
}

TEST(TaperedBox, EveryFaceUsesTheWholePicture) {
  const auto vertices = TaperedBoxVertices(0, 0, 0, 1, 0, 0, 0, 1);
  for (int face = 0; face < 6; ++face) {
    std::set<std::array<double, 2>> corners;
    for (int corner = 0; corner < 4; ++corner) {
      const auto& tc = vertices[static_cast<std::size_t>(face * 4 + corner)].texCoord;
      corners.insert({tc[0], tc[1]});
    }
    EXPECT_EQ(corners, (std::set<std::array<double, 2>>{{0, 0}, {0, 1}, {1, 0}, {1, 1}})) << "face " << face;
  }
}

TEST(TaperedBox, LowerSquareMovesAlonePullingItsFourSidesAlong) {
  // The cube grid's shear: the lower square displaced by (0, 0, 20), the upper one in place.
  const auto vertices = TaperedBoxVertices(0, 0, 20, 10, 0, 0, 0, 10);
  int lower = 0, upper = 0;
  for (const TaperedBoxVertex& v : vertices) {
    if (v.position[1] == -10) {
      ++lower;
      EXPECT_TRUE(v.position[2] == 30 || v.position[2] == 10);
    } else {
      ASSERT_EQ(v.position[1], 10);
      ++upper;
      EXPECT_TRUE(v.position[2] == 10 || v.position[2] == -10);
    }
    EXPECT_TRUE(std::abs(v.position[0]) == 10);
  }
  // The top and bottom faces hold four each; the four sides two of each.
  EXPECT_EQ(lower, 12);
  EXPECT_EQ(upper, 12);
}

// ---- wave sheet ----

TEST(WaveSheet, FadesInOverItsFirstFourSeconds) {
  EXPECT_EQ(WaveSheetOpacity(0), 0.0);
  EXPECT_EQ(WaveSheetOpacity(2000), 0.5);
  EXPECT_EQ(WaveSheetOpacity(4000), 1.0);
  EXPECT_EQ(WaveSheetOpacity(4001), 1.0);
  EXPECT_EQ(WaveSheetOpacity(100000), 1.0);
}

}  // namespace
