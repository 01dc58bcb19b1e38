// scenes: the demo's eight scenes, the toolbox they draw with and the beat overlay they share.
//
// Start-up registers the scenes in the scene table, slots 1 to 8 in this order: "Scene01" (the flower
// field), "Scene02" (the swaying flower mosaic), "Scene05" (cube wall with a sine wave), "Scene06"
// (cube wall with a pulsing ring), "Scene08" (two tile walls), "Scene09" (a tile corner), "Scene10"
// (textured cube wall with a ring) and "Scene11" (shaking cube wall and credits), each with its init,
// render and done callbacks; the script then places them on the timeline by name.
//
// Every callback reads `musicTime` (and two of them `spectrum`), draws with the shared effects objects
// and the demo's textures, and guards its one-time set-up with the timeline's `sceneMarker`.
#pragma once

#include <cstdint>
#include <vector>

void RegisterDemoScenes();
// Destroys the eight scenes in slot order.
void UnregisterDemoScenes();

// The beat the beat overlay, Scene01's field tilt and Scene11's camera follow: 1925 ms until the music
// reaches 84531 ms and 481 ms from then on, counted 200 ms ahead (beat 1 begins at 1725 ms; the count
// jumps from 44 to 176 at the switch).
std::int32_t BeatPeriod(std::int32_t time);
std::int32_t BeatNumber(std::int32_t time);

// ---- What the scenes keep from one frame to the next ----

// The beat overlay's choices, zero at start; they change only on a new beat.
struct BeatOverlayState {
  std::int32_t lastBeat = 0;       // the beat of the last new choice
  std::int32_t overlayRepeat = 0;  // tiling of the silhouette, 1 to 4 (0 before the first beat)
  std::int32_t overlayChoice = 0;  // which silhouette, 0 to 5
  std::int32_t textRow = 0;        // line of the text picture, 0 to 46
  bool operator==(const BeatOverlayState&) const = default;
};

// One cell of the cube grid: its cube's colour, and the displacement of its lower face.
struct CubeColourCell {
  float r, g, b, a;
  bool operator==(const CubeColourCell&) const = default;
};
struct CubeOffsetCell {
  float dx, dy, dz;
  bool operator==(const CubeOffsetCell&) const = default;
};

struct ScenesLastingState {
  BeatOverlayState beatOverlay;
  std::uint32_t random = 0;  // the demo's random generator
  std::vector<CubeColourCell> cubeColours;  // the cube grid, [x][y] flattened
  std::vector<CubeOffsetCell> cubeOffsets;
  bool operator==(const ScenesLastingState&) const = default;
};
ScenesLastingState CaptureScenesState();
void RestoreScenesState(const ScenesLastingState& state);
// After frames were skipped (DrawingSkipped): makes the writes the skipped frames kept aside.
void SettleSkippedFrames();
