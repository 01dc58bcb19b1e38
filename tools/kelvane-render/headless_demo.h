// The renderer's side of a headless run (the start-up itself is StartDemoOffscreen): the scratch
// folder, frames read back, shut-down.
//
// The demo runs in a scratch folder under the system's temporary folder that links to everything in
// the demo folder, so its debug.txt (and an error.txt) never land in the demo folder or the user's;
// the scratch folder is removed when the program ends, on the failure paths too.
#pragma once

#include <cstdint>
#include <string>

#include "tools/common/png_io.h"

// Makes the scratch folder and enters it; false with `error` set when that fails.
bool EnterScratchFolder(const std::string& demoFolder, std::string& error);

// The live frame steps at `time` with `frameSpectrum` (512 values): BeginFrame, the timeline's init
// and render slots, CaptureFrame, PresentFrame, the done slots. With `picture`, the finished frame is
// read back into it (RGB, rows top first) before the buffer swap.
void DrawDemoFrame(std::int32_t time, const float* frameSpectrum, Picture* picture);

void StopHeadlessDemo();
