// The renderer's side of a headless run (the start-up itself is StartDemoOffscreen, in a scratch
// folder: tools/common/scratch_folder.h): frames read back, shut-down.
#pragma once

#include <cstdint>
#include <string>

#include "tools/common/png_io.h"


// The live frame steps at `time` with `frameSpectrum` (512 values): BeginFrame, the timeline's init
// and render slots, CaptureFrame, PresentFrame, the done slots. With `picture`, the finished frame is
// read back into it (RGB, rows top first) before the buffer swap.
void DrawDemoFrame(std::int32_t time, const float* frameSpectrum, Picture* picture);

void StopHeadlessDemo();
