// What the scenes compute before they draw, and how they take turns on the timeline's marker:
// registration, the set-up guard and Scene01's marker quirk, the text sheets and the field tilt, the
// wave and ring cells, the credits' path.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "scenes/cube_grid.h"
#include "scenes/scene01.h"
#include "scenes/scene05.h"
#include "scenes/scene06.h"
#include "scenes/scene11.h"
#include "scenes/scene_common.h"
#include "scenes/scene_registry.h"
#include "scenes/wave_sheet.h"
#include "sequencing/music_state.h"
#include "sequencing/scene.h"
#include "sequencing/timeline.h"

namespace {

// ---- registration ----

TEST(SceneRegistry, EightScenesInSlotOrderAndGoneAgain) {
  RegisterDemoScenes();
  const std::vector<std::string> names = {"Scene01", "Scene02", "Scene05", "Scene06",
                                          "Scene08", "Scene09", "Scene10", "Scene11"};
  std::set<Callback> renders;
  for (int slot = 1; slot <= 8; ++slot) {
    const Scene* scene = sceneTable.Get(slot);
    ASSERT_NE(scene, nullptr) << "slot " << slot;
    EXPECT_EQ(scene->name, names[static_cast<std::size_t>(slot - 1)]);
    EXPECT_NE(scene->init, nullptr);
    EXPECT_NE(scene->done, nullptr);
    renders.insert(scene->render);
  }
  EXPECT_EQ(renders.size(), 8u) << "every scene draws with its own render callback";
  EXPECT_EQ(sceneTable.Get(1)->init, &Scene01Init);
  EXPECT_EQ(sceneTable.Get(3)->render, &Scene05Render);
  EXPECT_EQ(sceneTable.Get(8)->render, &Scene11Render);
  EXPECT_EQ(sceneTable.Get(9), nullptr);

  UnregisterDemoScenes();
  for (int slot = 1; slot <= 8; ++slot) EXPECT_EQ(sceneTable.Get(slot), nullptr) << "slot " << slot;
}

// ---- the marker ----

class SceneMarkerTurns : public ::testing::Test {
 protected:
  void SetUp() override { timelineTable[1] = std::make_unique<Timeline>("Timeline1", 100); }
  void TearDown() override {
    timelineTable.Clear();
    musicTime = 0;
  }
  std::int32_t Marker() const { return timelineTable.Get(1)->sceneMarker; }
};

TEST_F(SceneMarkerTurns, GuardClaimsOnceThenHolds) {
  EXPECT_TRUE(ClaimSceneMarker(60));
  EXPECT_EQ(Marker(), 60);
  EXPECT_FALSE(ClaimSceneMarker(60));
  EXPECT_TRUE(ClaimSceneMarker(80));
  EXPECT_EQ(Marker(), 80);
}

TEST_F(SceneMarkerTurns, Scene01LeavesFiftyOneOrFiftyNeverItsOwn) {
  musicTime = 1000;  // sin(0.5) > 0
  Scene01Done();
  EXPECT_EQ(Marker(), 51);
  musicTime = 7000;  // sin(3.5) < 0
  Scene01Done();
  EXPECT_EQ(Marker(), 50);
  musicTime = 0;  // sin(0) is not above 0
  Scene01Done();
  EXPECT_EQ(Marker(), 50);
}

TEST_F(SceneMarkerTurns, Scene05SkipsItsSetUpAfterScene01LeftFifty) {
  ClearCubeGrid(0.5f, 0, 0, 1);
  musicTime = 7000;
  Scene01Done();
  Scene05Init();  // would clear the grid to yellow
  EXPECT_EQ(Marker(), 50);
  EXPECT_EQ(cubeColour[10][10].r, 0.5f);
  EXPECT_EQ(cubeColour[10][10].g, 0.0f);
}

// ---- Scene01 ----

TEST(Scene01Timing, TextSheetsFollowTheirWindows) {
  const TextSheets at9000 = Scene01TextSheets(9000);
  ASSERT_EQ(at9000.count, 2);
  EXPECT_EQ(at9000.sheets[0].time, 12000);
  EXPECT_EQ(at9000.sheets[0].rowOffset, 0);
  EXPECT_EQ(at9000.sheets[1].time, 13500);
  EXPECT_EQ(at9000.sheets[1].rowOffset, 75);

  const TextSheets at17000 = Scene01TextSheets(17000);
  ASSERT_EQ(at17000.count, 2);
  EXPECT_EQ(at17000.sheets[0].time, 10800);
  EXPECT_EQ(at17000.sheets[0].rowOffset, 150);
  EXPECT_EQ(at17000.sheets[1].time, 20300);
  EXPECT_EQ(at17000.sheets[1].rowOffset, 232);

  EXPECT_EQ(Scene01TextSheets(23500).count, 0);
  EXPECT_EQ(Scene01TextSheets(30000).count, 0);
  // The window bounds are exclusive.
  EXPECT_EQ(Scene01TextSheets(10000).count, 1);
  EXPECT_EQ(Scene01TextSheets(10000).sheets[0].rowOffset, 75);
}

TEST(Scene01Timing, EverySheetDrawnIsOpaqueFromItsFirstFrame) {
  for (std::int32_t t = 3785; t < 23500; ++t) {
    const TextSheets sheets = Scene01TextSheets(t);
    ASSERT_GE(sheets.count, 1) << "t " << t;
    ASSERT_LE(sheets.count, 2) << "t " << t;
    for (int k = 0; k < sheets.count; ++k) ASSERT_EQ(WaveSheetOpacity(sheets.sheets[k].time), 1.0) << "t " << t;
  }
}

TEST(Scene01Timing, FieldTiltJumpsToFourDegreesAfter8617) {
  EXPECT_EQ(Scene01FieldTilt(8617), 0);
  EXPECT_EQ(Scene01FieldTilt(8618), 4);
  EXPECT_EQ(Scene01FieldTilt(9424), 4);
  EXPECT_EQ(Scene01FieldTilt(9425), 5);
}

// ---- cube-grid scenes ----

TEST(CubeWallCells, SineWaveStaysInRowsSevenToEighteen) {
  std::set<std::int32_t> offsets;
  for (std::int32_t t = 0; t <= 20000; t += 7) {
    for (std::int32_t k = 0; k <= 32; ++k) {
      const std::int32_t w = WaveRowOffset(t, k);
      ASSERT_GE(12 + w, 7);
      ASSERT_LE(13 + w, 18);
      offsets.insert(w);
    }
  }
  EXPECT_EQ(WaveRowOffset(0, 0), 0);
  // Truncation toward zero: -4 ... 4 almost everywhere (never -5 ... 5 rounded).
  EXPECT_TRUE(offsets.count(-4) && offsets.count(4));
  EXPECT_EQ(WaveRowOffset(0, 5), 2);  // 5 sin(30 degrees) = 2.5
  EXPECT_EQ(WaveRowOffset(0, 35), -2);
}

TEST(CubeWallCells, RingCollapsesOntoTheCentreAtTimeZero) {
  for (std::int32_t k = 0; k < kRingPoints; ++k) {
    const RingCell cell = RingPoint(0, k);
    EXPECT_EQ(cell.x, 16);
    EXPECT_EQ(cell.y, 12);
  }
}

TEST(CubeWallCells, RingClustersAroundTheCentreAtLaterMultiplesOf1800) {
  for (std::int32_t n = 1; n <= 20; ++n) {
    for (std::int32_t k = 0; k < kRingPoints; ++k) {
      const RingCell cell = RingPoint(1800 * n, k);
      EXPECT_LE(std::abs(cell.x - 16), 1) << "t " << 1800 * n << " k " << k;
      EXPECT_LE(std::abs(cell.y - 12), 1) << "t " << 1800 * n << " k " << k;
    }
  }
}

TEST(CubeWallCells, RingStaysInsideItsBoundsAndReachesThem) {
  std::int32_t minX = 100, maxX = -100, minY = 100, maxY = -100;
  for (std::int32_t t = 0; t <= 3600; ++t) {
    for (std::int32_t k = 0; k < kRingPoints; ++k) {
      const RingCell cell = RingPoint(t, k);
      minX = std::min(minX, cell.x);
      maxX = std::max(maxX, cell.x);
      minY = std::min(minY, cell.y);
      maxY = std::max(maxY, cell.y);
    }
  }
  EXPECT_GE(minX, 8);
  EXPECT_LE(maxX, 24);
  EXPECT_GE(minY, 4);
  EXPECT_LE(maxY, 20);
  EXPECT_EQ(maxX, 24) << "at full radius the ring reaches eight cells out";
  EXPECT_EQ(maxY, 20);
}

// ---- Scene11 ----

TEST(Scene11Credits, SquareStartsFourUnitsAwayAndReachesTheEyeAfter28Seconds) {
  const CreditsPlacement start = CreditsPlacementAt(84531, 0);
  EXPECT_DOUBLE_EQ(start.angle, -7);
  EXPECT_DOUBLE_EQ(start.depth, -4);
  const CreditsPlacement through = CreditsPlacementAt(84531 + 28000, 0);
  EXPECT_DOUBLE_EQ(through.depth, 0);
  EXPECT_DOUBLE_EQ(through.angle, 21);
  const CreditsPlacement ghost = CreditsPlacementAt(84531, 5);
  EXPECT_DOUBLE_EQ(ghost.angle, -9.5);
  EXPECT_LT(ghost.depth, start.depth) << "ghosts trail behind the square";
}

}  // namespace
