// A render in several processes (--jobs N): the frames are split into N contiguous parts, and each
// part goes to a worker, this program started again with the part's frames. Every worker seeks to
// its first frame, so the frames are exactly those of one process. Frames go straight into the
// frames folder; for a video each worker leaves raw frames in a scratch folder and this process
// feeds them, in order, to its one encoder, so the video is the one a single process makes (later
// parts wait on disk until the encoder reaches them: 0.9 MB a frame at 640 x 480).
//
// Each worker reports every frame it finishes through a pipe, and one progress bar counts them all.
// Ctrl-C reaches every worker, each keeps what it wrote, and the video is closed with the frames that
// were ready in order. A worker that fails ends the render: the others are stopped, its own message
// stands on standard error, and the exit code is 1. A worker dies with this process, so none is ever
// left behind.
#pragma once

#include <string>
#include <vector>

#include "tools/kelvane-render/frame_output.h"
#include "tools/kelvane-render/render_arguments.h"

int RenderInParallel(const RenderArguments& arguments, const std::string& outputPath, const OutputRange& range,
                     const FrameRange& frames);

// In a worker: the kernel ends this process when the one that started it ends.
void DieWithTheMainProcess();
