// The demo's eight scenes in the scene table: slot, name and callbacks, as start-up registers them
// and the script refers to them by name.
#pragma once

// Slots 1 to 8: "Scene01", "Scene02", "Scene05", "Scene06", "Scene08", "Scene09", "Scene10",
// "Scene11", each with its init, render and done callbacks.
void RegisterDemoScenes();
// Destroys the eight scenes in slot order.
void UnregisterDemoScenes();
