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

void RegisterDemoScenes();
// Destroys the eight scenes in slot order.
void UnregisterDemoScenes();
