// A scene: one visual effect, known to the script by its name, carrying three callbacks.
//
// The callbacks take nothing: they read the shared `musicTime` themselves. `init` runs in every frame
// of the first 101 ms of a span, `render` before the frame is captured, `done` after it is presented.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sequencing/slot_table.h"

using Callback = void (*)();

class Scene {
 public:
  // Copies `name` cut to 255 characters.
  Scene(std::string_view name, Callback init, Callback render, Callback done);

  std::string name;
  Callback init;
  Callback render;
  Callback done;
};

inline constexpr std::int32_t kSceneTableSlots = 100;

// Slots 1 to 100; start-up fills 1 to 8, the script loader searches all of them.
extern SlotTable<Scene, kSceneTableSlots> sceneTable;
