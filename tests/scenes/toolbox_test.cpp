// The toolbox's computations, without a GL context.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <vector>

#include "scenes/internal/beat_clock.h"
#include "scenes/internal/beat_overlay.h"
#include "scenes/internal/cube_grid.h"
#include "scenes/internal/demo_random.h"
#include "scenes/internal/tapered_box.h"

namespace {

TEST(BeatClock, PeriodNumberAndPhaseAroundTheFirstBeatAndTheSwitch) {
  const std::array<std::int32_t, 4> rows[] = {  // time, period, number, phase
      {0, 1925, 0, 200},     {1724, 1925, 0, 1924}, {1725, 1925, 1, 0},
      {84530, 1925, 44, 30}, {84531, 481, 176, 75}, {84937, 481, 177, 0}};  // 84731 = 176 * 481 + 75
  for (const auto& [time, period, number, phase] : rows) {
    EXPECT_EQ((std::array{BeatPeriod(time), BeatNumber(time), BeatPhase(time)}), (std::array{period, number, phase}))
        << time;
  }
}

// From state 7 the two draws give 1 and 5, in the other order 4 and 1.
TEST(BeatOverlayChoices, ANewBeatDrawsTheTilingThenTheSilhouetteOnceNothingBeforeTheFirstAndNeverBack) {
  beatOverlay = {};
  SetDemoRandomState(7);
  const std::int32_t repeat = DemoRandom(4) + 1;
  const std::int32_t choice = DemoRandom(6);
  const std::uint32_t afterTwoDraws = DemoRandomState();
  SetDemoRandomState(7);
  EXPECT_FALSE(AdvanceBeatOverlay(0));
  EXPECT_FALSE(AdvanceBeatOverlay(1724));
  EXPECT_EQ(DemoRandomState(), 7u) << "no draw without a new beat";
  EXPECT_EQ(beatOverlay, BeatOverlayState{});
  EXPECT_TRUE(AdvanceBeatOverlay(1725));
  EXPECT_EQ(beatOverlay, (BeatOverlayState{1, repeat, choice, 1}));
  EXPECT_EQ(DemoRandomState(), afterTwoDraws);
  EXPECT_FALSE(AdvanceBeatOverlay(1725 + 1924)) << "same beat";
  EXPECT_EQ(DemoRandomState(), afterTwoDraws);
  AdvanceBeatOverlay(84530);  // beat 44, text row 2
  EXPECT_TRUE(AdvanceBeatOverlay(84531));
  EXPECT_EQ(std::pair(beatOverlay.lastBeat, beatOverlay.textRow), std::pair(176, 3)) << "one line for 132 beats";
  EXPECT_FALSE(AdvanceBeatOverlay(84530)) << "an earlier time is an older beat";
}

TEST(BeatOverlayChoices, ChoicesStayInRangeAndTheTextRowWrapsAfter46) {
  beatOverlay = {};
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
  EXPECT_EQ((std::vector<std::int32_t>(rows.begin() + 44, rows.begin() + 48)), (std::vector{45, 46, 0, 1}));
  EXPECT_EQ(std::set<std::int32_t>(rows.begin(), rows.begin() + 48).size(), 47u) << "rows 1 to 46, then 0";
}

// Any uniform generator will do; it must repeat from its state (the scatter's read-back restores it).
TEST(DemoRandomGenerator, IsUniformAndDrawsNothingForAnEmptyRange) {
  const std::uint32_t saved = DemoRandomState();
  EXPECT_TRUE(DemoRandom(0) == 0 && DemoRandom(-3) == 0 && DemoRandomState() == saved);
  std::array<int, 6> counts{};
  for (int k = 0; k < 60000; ++k) ++counts.at(std::size_t(DemoRandom(6)));
  for (int count : counts) EXPECT_NEAR(count, 10000, 1000);
  // The low bit alternates in a plain power-of-two LCG; the draws must not.
  int repeats = 0;
  for (int k = 0; k < 10000; ++k) repeats += DemoRandom(2) == DemoRandom(2);
  EXPECT_NEAR(repeats, 5000, 500);
  SetDemoRandomState(saved);
}

TEST(CubeGrid, ClearSetsEveryCellAndOnlyCellsInsideTheGridChange) {
  SetCubeDepth(3, 4, 7.0f);
  const CubeColourCell clear{0.25f, 0.5f, 0.75f, 1.0f};
  ClearCubeGrid(clear.r, clear.g, clear.b, clear.a);
  for (const auto& [x, y] : {std::pair{641, 0}, {0, -1}, {-1, 0}, {0, 481}, {641, 481}, {INT32_MIN, INT32_MAX}})
    SetCubeColour(x, y, 0, 0, 0, 0), SetCubeDepth(x, y, 99.0f);
  SetCubeColour(640, 480, 1, 0.75f, 0, 1);
  SetCubeDepth(0, 0, 20.0f);
  int changed = 0;
  for (int x = 0; x <= 640; ++x)
    for (int y = 0; y <= 480; ++y) changed += !(cubeColour[x][y] == clear && cubeOffset[x][y] == CubeOffsetCell{});
  EXPECT_EQ(changed, 2) << "only the two cells written inside the grid";
  EXPECT_EQ(cubeColour[640][480], (CubeColourCell{1, 0.75f, 0, 1}));
  EXPECT_EQ(cubeOffset[0][0].dz, 20.0f);
  EXPECT_EQ(cubeColour[0][0], clear) << "depth leaves the colour";
}

using Vec = std::array<double, 3>;
Vec Minus(const double* a, const double* b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec Cross(Vec a, Vec b) { return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]}; }
double Dot(Vec a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

TEST(TaperedBox, CubeFacesLieOnTheirSidesFaceOutwardsAndUseTheWholePicture) {
  const double centre[3] = {3, -2, 5};
  const auto vertices = TaperedBoxVertices(3, -2, 5, 1.5, 3, -2, 5, 1.5);
  std::set<std::array<int, 3>> normals;
  for (int face = 0; face < 6; ++face) {
    const TaperedBoxVertex* v = &vertices[std::size_t(face * 4)];
    normals.insert({int(v[0].normal[0]), int(v[0].normal[1]), int(v[0].normal[2])});
    std::set<std::array<double, 2>> corners;
    for (int corner = 0; corner < 4; ++corner) {
      EXPECT_DOUBLE_EQ(Dot(Minus(v[corner].position, centre), v[0].normal), 1.5) << "face " << face;
      corners.insert({v[corner].texCoord[0], v[corner].texCoord[1]});
    }
    EXPECT_EQ(corners, (std::set<std::array<double, 2>>{{0, 0}, {0, 1}, {1, 0}, {1, 1}})) << "face " << face;
    // Counter-clockwise seen from outside: the winding agrees with the normal.
    const Vec winding = Cross(Minus(v[1].position, v[0].position), Minus(v[2].position, v[1].position));
    EXPECT_GT(Dot(winding, v[0].normal), 0) << "face " << face;
  }
  EXPECT_EQ(normals.size(), 6u);
}

TEST(TaperedBox, TheLowerSquareMovesAlonePullingItsFourSidesAlong) {
  // The cube grid's shear: the lower square displaced by (0, 0, 20), the upper one in place.
  std::set<std::array<double, 3>> corners;
  for (const TaperedBoxVertex& v : TaperedBoxVertices(0, 0, 20, 10, 0, 0, 0, 10))
    corners.insert(std::to_array(v.position));
  EXPECT_EQ(corners, (std::set<std::array<double, 3>>{{-10, -10, 10}, {-10, -10, 30}, {10, -10, 10}, {10, -10, 30},
                                                      {-10, 10, -10}, {-10, 10, 10}, {10, 10, -10}, {10, 10, 10}}));
}

}  // namespace
