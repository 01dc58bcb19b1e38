#include "scenes/scenes.h"

#include <iterator>
#include <memory>

#include "scenes/internal/scene01.h"
#include "scenes/internal/scene02.h"
#include "scenes/internal/scene05.h"
#include "scenes/internal/scene06.h"
#include "scenes/internal/scene08.h"
#include "scenes/internal/scene09.h"
#include "scenes/internal/scene10.h"
#include "scenes/internal/scene11.h"
#include "sequencing/sequencing.h"

namespace {

struct SceneRow {
  const char* name;
  Callback init;
  Callback render;
  Callback done;
};

constexpr SceneRow kDemoScenes[] = {
    {"Scene01", Scene01Init, Scene01Render, Scene01Done},
    {"Scene02", Scene02Init, Scene02Render, Scene02Done},
    {"Scene05", Scene05Init, Scene05Render, Scene05Done},
    {"Scene06", Scene06Init, Scene06Render, Scene06Done},
    {"Scene08", Scene08Init, Scene08Render, Scene08Done},
    {"Scene09", Scene09Init, Scene09Render, Scene09Done},
    {"Scene10", Scene10Init, Scene10Render, Scene10Done},
    {"Scene11", Scene11Init, Scene11Render, Scene11Done},
};

constexpr int kDemoSceneCount = static_cast<int>(std::size(kDemoScenes));

}  // namespace

void RegisterDemoScenes() {
  for (int slot = 1; slot <= kDemoSceneCount; ++slot) {
    const SceneRow& row = kDemoScenes[slot - 1];
    sceneTable[slot] = std::make_unique<Scene>(row.name, row.init, row.render, row.done);
  }
}

void UnregisterDemoScenes() {
  for (int slot = 1; slot <= kDemoSceneCount; ++slot) sceneTable[slot].reset();
}
