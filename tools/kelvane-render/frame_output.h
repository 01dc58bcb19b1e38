// Where rendered frames go: numbered PNG files in a folder, one PNG file, or a video with the music
// (and, between the processes of a render with --jobs, raw RGB files in a scratch folder).
// Frames are numbered as frames of the whole render, also in a part of it.
//
// Check() runs before the demo starts, so an output that cannot be written is reported at once;
// Open() follows once the music is known. Paths are absolute by then (the demo runs elsewhere).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tools/common/png_io.h"
#include "tools/kelvane-render/render_arguments.h"

class MusicSamples;

// The name of frame `index` in a frames folder: "frame-000042.png".
std::string FrameFileName(std::int64_t index);

struct OutputRange {
  std::int32_t from = 0;         // music time of the first frame, ms
  std::int64_t frameCount = 0;   // frames that will be written
  std::int32_t fps = 60;
  std::int32_t width = 640;
  std::int32_t height = 480;
  const MusicSamples* music = nullptr;  // none: a video without sound
};

class FrameOutput {
 public:
  virtual ~FrameOutput() = default;
  virtual bool Open(const OutputRange& range, std::string& error) = 0;
  virtual bool Add(std::int64_t index, const Picture& picture, std::string& error) = 0;
  virtual bool Finish(std::string& error) = 0;
};

// False with `error` set when the output cannot be written; a frames folder is made here.
bool CheckOutputWritable(RenderOutput kind, const std::string& path, std::string& error);
std::unique_ptr<FrameOutput> MakeFrameOutput(RenderOutput kind, const std::string& path);

// The music frames (44100 Hz, counted from `from`) that belong to the first `frames` video frames.
std::int64_t AudioFramesBefore(std::int64_t frames, std::int32_t fps);

// Where a worker of a render with --jobs leaves frame `index` for the main process.
std::string RawFramePath(const std::string& folder, std::int64_t index);
