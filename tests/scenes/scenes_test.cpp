// What the scenes compute before they draw, and how they take turns on the timeline's marker:
// registration, the set-up guard and Scene01's marker quirk, the field tilt and the text sheets, the
// wave and ring cells, the credits' path.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "scenes/internal/cube_grid.h"
#include "scenes/internal/scene01.h"
#include "scenes/internal/scene05.h"
#include "scenes/internal/scene06.h"
#include "scenes/internal/scene11.h"
#include "scenes/internal/scene_common.h"
#include "scenes/internal/wave_sheet.h"
#include "scenes/scenes.h"
#include "sequencing/sequencing.h"

namespace {

TEST(SceneRegistry, EightScenesByNameInSlotOrderAndGoneAgain) {
  RegisterDemoScenes();
  const char* names[] = {"Scene01", "Scene02", "Scene05", "Scene06", "Scene08", "Scene09", "Scene10", "Scene11"};
  std::set<Callback> renders;
  for (int slot = 1; slot <= 8; ++slot) {
    const Scene* scene = sceneTable.Get(slot);
    ASSERT_NE(scene, nullptr) << "slot " << slot;
    EXPECT_EQ(scene->name, names[slot - 1]);
    renders.insert(scene->render);
  }
  EXPECT_EQ(renders.size(), 8u) << "every scene draws with its own render callback";
  EXPECT_EQ(sceneTable.Get(3)->render, &Scene05Render);
  EXPECT_EQ(sceneTable.Get(9), nullptr);
  UnregisterDemoScenes();
  for (int slot = 1; slot <= 8; ++slot) EXPECT_EQ(sceneTable.Get(slot), nullptr) << "slot " << slot;
}

class SceneMarkerTurns : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(MakeTimeline("Timeline1", 100, timelineTable[kDemoTimelineSlot])); }
  void TearDown() override {
    timelineTable.Clear();
    musicTime = 0;
  }
  std::int32_t Marker() const { return timelineTable.Get(kDemoTimelineSlot)->sceneMarker; }
};

TEST_F(SceneMarkerTurns, TheGuardClaimsOnceThenHolds) {
  EXPECT_TRUE(ClaimSceneMarker(60));
  EXPECT_EQ(Marker(), 60);
  EXPECT_FALSE(ClaimSceneMarker(60));
  EXPECT_TRUE(ClaimSceneMarker(80));
  EXPECT_EQ(Marker(), 80);
}

TEST_F(SceneMarkerTurns, Scene01LeavesFiftyOneOrFiftyAndScene05ThenSkipsItsSetUp) {
  const std::pair<std::int32_t, std::int32_t> rows[] = {{1000, 51}, {7000, 50}, {0, 50}};  // sin(t / 2000) > 0
  for (const auto& [time, marker] : rows) {
    musicTime = time;
    Scene01Done();
    EXPECT_EQ(Marker(), marker) << time;
  }
  ClearCubeGrid(0.5f, 0, 0, 1);
  Scene05Init();  // would clear the grid to yellow
  EXPECT_EQ(Marker(), 50);
  EXPECT_EQ(cubeColour[10][10].g, 0.0f);
}

TEST(Scene01Timing, TheFieldTiltsByTheBeatAfter8617) {
  const std::pair<std::int32_t, std::int32_t> rows[] = {{8617, 0}, {8618, 4}, {9424, 4}, {9425, 5}};
  for (const auto& [time, tilt] : rows) EXPECT_EQ(Scene01FieldTilt(time), tilt) << time;
}

TEST(Scene01Timing, OneOrTwoSheetsFrom3785To23499EachOpaqueFromItsFirstFrame) {
  EXPECT_EQ(Scene01TextSheets(3784).count, 1) << "the first window has no lower bound";
  for (std::int32_t t = 3785; t < 23500; ++t) {
    const TextSheets sheets = Scene01TextSheets(t);
    ASSERT_TRUE(sheets.count == 1 || sheets.count == 2) << "t " << t;
    for (int k = 0; k < sheets.count; ++k) ASSERT_EQ(WaveSheetOpacity(sheets.sheets[k].time), 1.0) << "t " << t;
  }
  EXPECT_EQ(Scene01TextSheets(23500).count, 0);
}

TEST(CubeWallCells, TheWaveTruncatesAndStaysInRowsSevenToEighteen) {
  std::set<std::int32_t> offsets;
  for (std::int32_t t = 0; t <= 20000; t += 7) {
    for (std::int32_t k = 0; k <= 32; ++k) {
      const std::int32_t w = WaveRowOffset(t, k);
      ASSERT_TRUE(12 + w >= 7 && 13 + w <= 18) << t << " " << k;
      offsets.insert(w);
    }
  }
  EXPECT_TRUE(offsets.count(-4) && offsets.count(4));
  EXPECT_EQ(WaveRowOffset(0, 0), 0);
  EXPECT_EQ(WaveRowOffset(0, 5), 2) << "5 sin(30 degrees) = 2.5 truncates";
  EXPECT_EQ(WaveRowOffset(0, 35), -2);
}

TEST(CubeWallCells, TheRingCollapsesAtMultiplesOf1800AndReachesEightCellsOut) {
  for (std::int32_t n = 0; n <= 20; ++n) {
    for (std::int32_t k = 0; k < kRingPoints; ++k) {
      const RingCell cell = RingPoint(1800 * n, k);
      EXPECT_LE(std::abs(cell.x - 16), n ? 1 : 0) << "t " << 1800 * n << " k " << k;
      EXPECT_LE(std::abs(cell.y - 12), n ? 1 : 0) << "t " << 1800 * n << " k " << k;
    }
  }
  std::int32_t minX = 100, maxX = -100, minY = 100, maxY = -100;
  for (std::int32_t t = 0; t <= 3600; ++t) {
    for (std::int32_t k = 0; k < kRingPoints; ++k) {
      const RingCell cell = RingPoint(t, k);
      minX = std::min(minX, cell.x), maxX = std::max(maxX, cell.x);
      minY = std::min(minY, cell.y), maxY = std::max(maxY, cell.y);
    }
  }
  EXPECT_EQ((std::array<std::int32_t, 4>{minX, maxX, minY, maxY}), (std::array<std::int32_t, 4>{8, 24, 4, 20}));
}

TEST(Scene11Credits, TheSquareStartsFourUnitsAwayAndReachesTheEyeAfter28Seconds) {
  const CreditsPlacement start = CreditsPlacementAt(84531, 0);
  EXPECT_DOUBLE_EQ(start.angle, -7);
  EXPECT_DOUBLE_EQ(start.depth, -4);
  const CreditsPlacement through = CreditsPlacementAt(84531 + 28000, 0);
  EXPECT_DOUBLE_EQ(through.depth, 0);
  EXPECT_DOUBLE_EQ(through.angle, 21);
  const CreditsPlacement ghost = CreditsPlacementAt(84531, 5);
  EXPECT_DOUBLE_EQ(ghost.angle, -9.5);
  EXPECT_DOUBLE_EQ(ghost.depth, -4 - 5 / 7000.0) << "ghosts trail behind the square";
}

}  // namespace
