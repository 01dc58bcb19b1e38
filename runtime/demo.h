// The demo's main body: settings, the Config dialog, the window, the frame loop and shut-down.
#pragma once

// Runs the whole demo and returns the exit code of a normal end (0). Failures end the process
// through FatalError or the runtime I/O error and do not return here.
int RunDemo();
