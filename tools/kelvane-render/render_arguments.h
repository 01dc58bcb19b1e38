// The command line of kelvane-render.
//
//   kelvane-render [--demo DIR] [--from MS] [--to MS] [--fps N] [--size WxH]
//                  (--frames DIR | --video FILE.mp4 | --at MS --png FILE.png)
//
// Exactly one output: PNG frames, a video, or one frame as a PNG. --at renders the single frame at
// that time and takes neither --from nor --to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class RenderOutput { Frames, Video, SinglePicture };

struct RenderArguments {
  std::string demoFolder = ".";
  std::int32_t from = 0;
  std::optional<std::int32_t> to;
  std::int32_t fps = 60;
  std::int32_t width = 640;
  std::int32_t height = 480;
  RenderOutput output = RenderOutput::Frames;
  std::string outputPath;  // the frames' folder, the video file or the PNG file
  bool help = false;
  bool timing = false;  // one summary line on standard error: frames and frames per second
};

struct ParsedArguments {
  RenderArguments arguments;
  std::string error;  // empty when the command line is valid
};

ParsedArguments ParseRenderArguments(const std::vector<std::string>& words);
const char* RenderUsage();
// A size whose width : height is not 4 : 3 (the scenes are drawn for 4 : 3).
bool SizeIsNot4By3(std::int32_t width, std::int32_t height);
