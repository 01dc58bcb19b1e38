// One whole render: the demo folder checked, the output checked, the demo started headless, the
// music decoded, the frames of the clock drawn and written (here, or by worker processes with
// --jobs), everything shut down.
#pragma once

#include <string>
#include <vector>

#include "tools/kelvane-render/render_arguments.h"

inline constexpr int kRenderFailed = 1;

// 0 when every frame was written; kRenderFailed with a message on standard error otherwise. A
// failure inside the demo's own start-up is its fatal error report (exit code 1 as well). Interrupted
// by a signal (interruption.h): 128 + its number, with the frames written so far kept.
int RunRender(const RenderArguments& arguments);

// "kelvane-render: <message>" on standard error; returns kRenderFailed.
int ReportRenderFailure(const std::string& message);
