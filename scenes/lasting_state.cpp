#include <algorithm>

#include "scenes/internal/beat_overlay.h"
#include "scenes/internal/cube_grid.h"
#include "scenes/internal/demo_random.h"
#include "scenes/scenes.h"

namespace {

constexpr std::size_t kCells = std::size_t(kCubeGridMaxX + 1) * (kCubeGridMaxY + 1);

}  // namespace

ScenesLastingState CaptureScenesState() {
  SettleCubeGrid();
  ScenesLastingState state;
  state.beatOverlay = beatOverlay;
  state.random = DemoRandomState();
  state.cubeColours.assign(&cubeColour[0][0], &cubeColour[0][0] + kCells);
  state.cubeOffsets.assign(&cubeOffset[0][0], &cubeOffset[0][0] + kCells);
  return state;
}

void RestoreScenesState(const ScenesLastingState& state) {
  SettleCubeGrid();
  beatOverlay = state.beatOverlay;
  SetDemoRandomState(state.random);
  if (state.cubeColours.size() == kCells) std::copy(state.cubeColours.begin(), state.cubeColours.end(), &cubeColour[0][0]);
  if (state.cubeOffsets.size() == kCells) std::copy(state.cubeOffsets.begin(), state.cubeOffsets.end(), &cubeOffset[0][0]);
}

void SettleSkippedFrames() { SettleCubeGrid(); }
