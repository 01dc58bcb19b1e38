// What the scenes compute before they draw, and how they take turns on the timeline's marker.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <array>
#include <tuple>

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
  for (int slot = 1; slot <= 8; ++slot)
    EXPECT_TRUE(sceneTable.Get(slot) && sceneTable.Get(slot)->name == names[slot - 1]) << names[slot - 1];
  EXPECT_EQ(sceneTable.Get(9), nullptr);
  UnregisterDemoScenes();
  for (int slot = 1; slot <= 8; ++slot) EXPECT_EQ(sceneTable.Get(slot), nullptr) << "slot " << slot;
}

// The set-up guard lets a scene's init through once per turn: what the readbacks' first frames show.
TEST(SceneMarkerTurns, Scene01LeavesFiftyOneOrFiftyAndScene05ThenSkipsItsSetUp) {
  ASSERT_FALSE(MakeTimeline("Timeline1", 100, timelineTable[kDemoTimelineSlot]));
  const std::pair<std::int32_t, std::int32_t> rows[] = {{1000, 51}, {7000, 50}, {0, 50}};  // sin(t / 2000) > 0
  for (const auto& [time, marker] : rows) {
    musicTime = time;
    Scene01Done();
    EXPECT_EQ(timelineTable.Get(kDemoTimelineSlot)->sceneMarker, marker) << time;
  }
  ClearCubeGrid(0.5f, 0, 0, 1);
  Scene05Init();  // would clear the grid to yellow
  EXPECT_EQ(cubeColour[10][10].g, 0.0f);
  EXPECT_TRUE(ClaimSceneMarker(60) && !ClaimSceneMarker(60));
  timelineTable.Clear();
}

// A wave sheet fades in over its first four seconds, but Scene01 shifts each sheet's clock past them.
TEST(Scene01Timing, TheFieldTiltsAfter8617AndOneOrTwoSheetsShowUpTo23499EachOpaqueFromItsFirstFrame) {
  const std::pair<std::int32_t, std::int32_t> tilts[] = {{8617, 0}, {8618, 4}, {9424, 4}, {9425, 5}};
  for (const auto& [time, tilt] : tilts) EXPECT_EQ(Scene01FieldTilt(time), tilt) << time;
  const std::pair<std::int32_t, int> edges[] = {{3784, 1}, {8000, 1}, {8001, 2}, {9999, 2}, {10000, 1}, {10501, 2},
                                                {13500, 1}, {16500, 1}, {16501, 2}, {18000, 1}, {23499, 1}, {23500, 0}};
  for (const auto& [time, count] : edges) EXPECT_EQ(Scene01TextSheets(time).count, count) << time;
  const std::pair<std::int32_t, double> fade[] = {{0, 0.0}, {2000, 0.5}, {4000, 1.0}, {4001, 1.0}, {100000, 1.0}};
  for (const auto& [time, opacity] : fade) EXPECT_EQ(WaveSheetOpacity(time), opacity) << time;
  for (std::int32_t t = 3785; t < 23500; ++t) {
    const TextSheets sheets = Scene01TextSheets(t);
    for (int k = 0; k < sheets.count; ++k) ASSERT_EQ(WaveSheetOpacity(sheets.sheets[k].time), 1.0) << "t " << t;
  }
}

TEST(CubeWallCells, TheWaveTruncatesAndStaysInRowsSevenToEighteen) {
  std::set<std::int32_t> offsets;
  for (std::int32_t t = 0; t <= 20000; t += 7)
    for (std::int32_t k = 0; k <= 32; ++k) offsets.insert(WaveRowOffset(t, k));
  // Rows 12 + w and 13 + w stay within 7 to 18, and the wave reaches four rows either way.
  EXPECT_TRUE(*offsets.begin() >= -5 && *offsets.rbegin() <= 5 && offsets.count(-4) && offsets.count(4));
  EXPECT_EQ((std::array{WaveRowOffset(0, 0), WaveRowOffset(0, 5), WaveRowOffset(0, 35)}), (std::array{0, 2, -2}))
      << "5 sin(30 degrees) = 2.5 truncates";
}

TEST(CubeWallCells, TheRingCollapsesAtMultiplesOf1800AndReachesEightCellsOut) {
  std::int32_t minX = 100, maxX = -100, minY = 100, maxY = -100;
  for (std::int32_t t = 0; t <= 36000; ++t) {
    for (std::int32_t k = 0; k < kRingPoints; ++k) {
      const RingCell cell = RingPoint(t, k);
      ASSERT_TRUE(t % 1800 || (std::abs(cell.x - 16) <= (t ? 1 : 0) && std::abs(cell.y - 12) <= (t ? 1 : 0))) << t;
      minX = std::min(minX, cell.x), maxX = std::max(maxX, cell.x);
      minY = std::min(minY, cell.y), maxY = std::max(maxY, cell.y);
    }
  }
  EXPECT_EQ((std::array{minX, maxX, minY, maxY}), (std::array{8, 24, 4, 20}));
}

TEST(Scene11Credits, TheSquareStartsFourUnitsAwayAndReachesTheEyeAfter28SecondsItsGhostsTrailing) {
  const std::tuple<std::int32_t, int, double, double> rows[] = {  // time, ghost, angle, depth
      {84531, 0, -7, -4}, {84531 + 28000, 0, 21, 0}, {84531, 5, -9.5, -4 - 5 / 7000.0}};
  for (const auto& [time, ghost, angle, depth] : rows) {
    const CreditsPlacement placement = CreditsPlacementAt(time, ghost);
    EXPECT_EQ(std::pair(placement.angle, placement.depth), std::pair(angle, depth)) << time << " ghost " << ghost;
  }
}

}  // namespace
