// The toolbox's computations, without a GL context: the beat counter and the choices it drives, the
// demo's random generator, the cube grid's bounds, the tapered box's geometry and the wave sheet's
// fade-in.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <set>
#include <vector>

#include "scenes/internal/beat_clock.h"
#include "scenes/internal/beat_overlay.h"
#include "scenes/internal/cube_grid.h"
#include "scenes/internal/demo_random.h"
#include "scenes/internal/tapered_box.h"
#include "scenes/internal/wave_sheet.h"

namespace {

TEST(BeatClock, PeriodNumberAndPhaseAroundTheFirstBeatAndTheSwitch) {
  const struct {
    std::int32_t time, period, number, phase;
  } rows[] = {
      {0, 1925, 0, 200},     {1724, 1925, 0, 1924},  {1725, 1925, 1, 0},
      {84530, 1925, 44, 30},  // trunc(84730 / 1925)
      {84531, 481, 176, 75},  // 84731 = 176 * 481 + 75
      {84937, 481, 177, 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(BeatPeriod(row.time), row.period) << row.time;
    EXPECT_EQ(BeatNumber(row.time), row.number) << row.time;
    EXPECT_EQ(BeatPhase(row.time), row.phase) << row.time;
  }
}

class BeatOverlayChoices : public ::testing::Test {
 protected:
  void SetUp() override { beatOverlay = {}; }
  void TearDown() override {
    beatOverlay = {};
    SetDemoRandomState(saved_);
  }
  std::uint32_t saved_ = DemoRandomState();
};

TEST_F(BeatOverlayChoices, NothingIsChosenBeforeTheFirstBeatOrTwiceInOneBeat) {
  const std::uint32_t before = DemoRandomState();
  EXPECT_FALSE(AdvanceBeatOverlay(0));
  EXPECT_FALSE(AdvanceBeatOverlay(1724));
  EXPECT_EQ(DemoRandomState(), before) << "no draw without a new beat";
  EXPECT_EQ(beatOverlay, BeatOverlayState{});
  EXPECT_TRUE(AdvanceBeatOverlay(1725));
  const std::uint32_t after = DemoRandomState();
  EXPECT_FALSE(AdvanceBeatOverlay(1725 + 1924)) << "same beat";
  EXPECT_EQ(DemoRandomState(), after);
}

TEST_F(BeatOverlayChoices, ANewBeatDrawsTheTilingThenTheSilhouette) {
  SetDemoRandomState(12345);
  const std::int32_t repeat = DemoRandom(4) + 1;
  const std::int32_t choice = DemoRandom(6);
  const std::uint32_t afterTwoDraws = DemoRandomState();
  SetDemoRandomState(12345);
  EXPECT_TRUE(AdvanceBeatOverlay(1725));
  EXPECT_EQ(beatOverlay, (BeatOverlayState{1, repeat, choice, 1}));
  EXPECT_EQ(DemoRandomState(), afterTwoDraws);
}

TEST_F(BeatOverlayChoices, ChoicesStayInRangeAndTheTextRowWrapsAfter46) {
  std::set<std::int32_t> repeats, choices;
  std::vector<std::int32_t> rows;
  for (std::int32_t beat = 1; beat <= 400; ++beat) {
    ASSERT_TRUE(AdvanceBeatOverlay(beat * 1925 - 200));
    repeats.insert(beatOverlay.overlayRepeat);
    choices.insert(beatOverlay.overlayChoice);
    rows.push_back(beatOverlay.textRow);
  }
  EXPECT_EQ(repeats, (std::set<std::int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(choices, (std::set<std::int32_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(rows[0], 1);
  EXPECT_EQ(rows[45], 46);
  EXPECT_EQ(rows[46], 0);
  EXPECT_EQ(rows[47], 1);
  EXPECT_EQ(std::set<std::int32_t>(rows.begin(), rows.begin() + 48).size(), 47u);
}

TEST_F(BeatOverlayChoices, ThePeriodSwitchMakesOneChoiceAndTheCountNeverGoesBack) {
  AdvanceBeatOverlay(84530);
  EXPECT_EQ(beatOverlay.lastBeat, 44);
  const std::int32_t rowBefore = beatOverlay.textRow;
  EXPECT_TRUE(AdvanceBeatOverlay(84531));
  EXPECT_EQ(beatOverlay.lastBeat, 176);
  EXPECT_EQ(beatOverlay.textRow, rowBefore + 1) << "one new line for the jump of 132 beats";
  EXPECT_FALSE(AdvanceBeatOverlay(84530)) << "an earlier time is an older beat";
  EXPECT_TRUE(AdvanceBeatOverlay(84937));
  EXPECT_EQ(beatOverlay.lastBeat, 177);
}

TEST(DemoRandomGenerator, RepeatsFromAStateIsUniformAndDrawsNothingForAnEmptyRange) {
  const std::uint32_t saved = DemoRandomState();
  SetDemoRandomState(kDemoRandomSeed);
  std::vector<std::int32_t> first;
  for (int k = 0; k < 100; ++k) first.push_back(DemoRandom(200));
  SetDemoRandomState(kDemoRandomSeed);
  for (int k = 0; k < 100; ++k) EXPECT_EQ(DemoRandom(200), first[std::size_t(k)]) << "draw " << k;

  std::array<int, 6> counts{};
  constexpr int kDraws = 60000;
  for (int k = 0; k < kDraws; ++k) {
    const std::int32_t value = DemoRandom(6);
    ASSERT_TRUE(value >= 0 && value < 6);
    ++counts[std::size_t(value)];
  }
  for (int count : counts) EXPECT_NEAR(count, kDraws / 6, kDraws / 60);
  // The low bit alternates in a plain power-of-two LCG; the draws must not.
  int evenAfterEven = 0, evenDraws = 0;
  for (std::int32_t k = 0, previous = DemoRandom(2); k < 10000; ++k) {
    const std::int32_t value = DemoRandom(2);
    evenDraws += previous == 0;
    evenAfterEven += previous == 0 && value == 0;
    previous = value;
  }
  EXPECT_NEAR(double(evenAfterEven) / evenDraws, 0.5, 0.05);

  const std::uint32_t before = DemoRandomState();
  EXPECT_EQ(DemoRandom(0), 0);
  EXPECT_EQ(DemoRandom(-3), 0);
  EXPECT_EQ(DemoRandomState(), before);
  SetDemoRandomState(saved);
}

TEST(CubeGrid, ClearSetsEveryCellAndOnlyCellsInsideTheGridChange) {
  SetCubeDepth(3, 4, 7.0f);
  ClearCubeGrid(0.25f, 0.5f, 0.75f, 1.0f);
  for (int x : {0, 320, 640}) {
    for (int y : {0, 240, 480}) {
      EXPECT_EQ(cubeColour[x][y].g, 0.5f);
      EXPECT_EQ(cubeOffset[x][y].dz, 0.0f);
    }
  }
  EXPECT_EQ(cubeOffset[3][4].dz, 0.0f);
  std::vector<char> before(sizeof cubeColour + sizeof cubeOffset);
  std::memcpy(before.data(), cubeColour, sizeof cubeColour);
  std::memcpy(before.data() + sizeof cubeColour, cubeOffset, sizeof cubeOffset);
  for (const auto& cell : std::vector<std::array<std::int32_t, 2>>{
           {641, 0}, {0, -1}, {-1, 0}, {0, 481}, {641, 481}, {-2147483647 - 1, 2147483647}}) {
    SetCubeColour(cell[0], cell[1], 0, 0, 0, 0);
    SetCubeDepth(cell[0], cell[1], 99.0f);
  }
  EXPECT_EQ(std::memcmp(before.data(), cubeColour, sizeof cubeColour), 0);
  EXPECT_EQ(std::memcmp(before.data() + sizeof cubeColour, cubeOffset, sizeof cubeOffset), 0);
  SetCubeColour(640, 480, 1, 0.75f, 0, 1);
  SetCubeDepth(0, 0, 20.0f);
  EXPECT_EQ(cubeColour[640][480].g, 0.75f);
  EXPECT_EQ(cubeOffset[0][0].dz, 20.0f);
  EXPECT_EQ(cubeColour[0][0].g, 0.5f) << "depth leaves the colour";
  EXPECT_EQ(cubeColour[639][480].g, 0.5f);
  EXPECT_EQ(cubeOffset[1][0].dz, 0.0f);
}

struct Vec {
  double x, y, z;
};
Vec Position(const TaperedBoxVertex& v) { return {v.position[0], v.position[1], v.position[2]}; }
Vec Minus(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

TEST(TaperedBox, CubeFacesLieOnTheirSidesFaceOutwardsAndUseTheWholePicture) {
  const Vec centre{3, -2, 5};
  const double half = 1.5;
  const auto vertices = TaperedBoxVertices(centre.x, centre.y, centre.z, half, centre.x, centre.y, centre.z, half);
  std::set<std::array<int, 3>> normals;
  for (int face = 0; face < 6; ++face) {
    const TaperedBoxVertex* v = &vertices[std::size_t(face * 4)];
    const Vec normal{v[0].normal[0], v[0].normal[1], v[0].normal[2]};
    normals.insert({int(normal.x), int(normal.y), int(normal.z)});
    std::set<std::array<double, 2>> corners;
    for (int corner = 0; corner < 4; ++corner) {
      EXPECT_DOUBLE_EQ(Dot(Minus(Position(v[corner]), centre), normal), half) << "face " << face;
      corners.insert({v[corner].texCoord[0], v[corner].texCoord[1]});
    }
    EXPECT_EQ(corners, (std::set<std::array<double, 2>>{{0, 0}, {0, 1}, {1, 0}, {1, 1}})) << "face " << face;
    // Counter-clockwise seen from outside: the winding agrees with the normal.
    const Vec winding = Cross(Minus(Position(v[1]), Position(v[0])), Minus(Position(v[2]), Position(v[1])));
    EXPECT_GT(Dot(winding, normal), 0) << "face " << face;
  }
  EXPECT_EQ(normals.size(), 6u);
}

TEST(TaperedBox, TheLowerSquareMovesAlonePullingItsFourSidesAlong) {
  // The cube grid's shear: the lower square displaced by (0, 0, 20), the upper one in place.
  int lower = 0, upper = 0;
  for (const TaperedBoxVertex& v : TaperedBoxVertices(0, 0, 20, 10, 0, 0, 0, 10)) {
    const bool isLower = v.position[1] == -10;
    ASSERT_TRUE(isLower || v.position[1] == 10);
    (isLower ? lower : upper) += 1;
    EXPECT_TRUE(isLower ? (v.position[2] == 30 || v.position[2] == 10) : (v.position[2] == 10 || v.position[2] == -10));
    EXPECT_EQ(std::abs(v.position[0]), 10);
  }
  EXPECT_EQ(lower, 12);
  EXPECT_EQ(upper, 12);
}

TEST(WaveSheet, FadesInOverItsFirstFourSeconds) {
  const std::pair<std::int32_t, double> rows[] = {{0, 0.0}, {2000, 0.5}, {4000, 1.0}, {4001, 1.0}, {100000, 1.0}};
  for (const auto& [time, opacity] : rows) EXPECT_EQ(WaveSheetOpacity(time), opacity) << time;
}

}  // namespace
