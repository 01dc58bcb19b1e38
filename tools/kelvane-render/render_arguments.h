// The command line of kelvane-render.
//
//   kelvane-render [--demo DIR] [--from MS] [--to MS] [--fps N] [--size WxH] [--jobs N] [--part I/N]
//                  [--quick-seek] (--frames DIR | --video FILE.mp4 | --at MS --png FILE.png)
//
// Exactly one output: PNG frames, a video, or one frame as a PNG. --at renders the single frame at
// that time and takes neither --from nor --to. --part renders only the I-th of N contiguous parts of
// the frames (frames keep their numbers), so that parts can go to other machines.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class RenderOutput { Frames, Video, SinglePicture, RawFrames };

// Frames first to end - 1 of the whole render's frames.
struct FrameRange {
  std::int64_t first = 0;
  std::int64_t end = 0;
};

struct RenderArguments {
  std::string demoFolder = ".";
  std::int32_t from = 0;
  std::optional<std::int32_t> to;
  std::int32_t fps = 60;
  std::int32_t width = 640;
  std::int32_t height = 480;
  RenderOutput output = RenderOutput::Frames;
  std::string outputPath;  // the frames' folder, the video file or the PNG file
  std::int32_t jobs = 1;   // worker processes; the parser's default is the number of cores
  std::int32_t part = 1;   // --part part/parts
  std::int32_t parts = 1;
  bool help = false;
  bool version = false;
  bool timing = false;  // one summary line on standard error: frames and frames per second
  bool quickSeek = false;  // reach the first frame with SeekMode::kQuick instead of kExact

  // Only for the workers a render with --jobs starts (not in --help): the frames to render, where
  // to report each one done, and RenderOutput::RawFrames into a folder the main process reads.
  std::optional<FrameRange> workerFrames;
  int progressFd = -1;
};

struct ParsedArguments {
  RenderArguments arguments;
  std::string error;  // empty when the command line is valid
};

ParsedArguments ParseRenderArguments(const std::vector<std::string>& words);
const char* RenderUsage();
// A size whose width : height is not 4 : 3 (the scenes are drawn for 4 : 3).
bool SizeIsNot4By3(std::int32_t width, std::int32_t height);
// The worker count the parser gives without --jobs: the processors online.
std::int32_t DefaultJobs();
