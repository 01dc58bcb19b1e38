#include "tools/kelvane-render/render_arguments.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <limits>

namespace {

constexpr std::int32_t kLargestSide = 16384;
constexpr std::int32_t kLargestFps = 1000;
constexpr std::int32_t kMostJobs = 256;
constexpr std::int32_t kMostParts = 100000;

bool ParseInteger(const std::string& text, std::int32_t low, std::int32_t high, std::int32_t& value) {
  std::int64_t parsed = 0;
  const char* end = text.data() + text.size();
  const auto [stop, status] = std::from_chars(text.data(), end, parsed);
  if (status != std::errc() || stop != end || parsed < low || parsed > high) return false;
  value = std::int32_t(parsed);
  return true;
}

bool ParsePart(const std::string& text, std::int32_t& part, std::int32_t& parts) {
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos) return false;
  return ParseInteger(text.substr(slash + 1), 1, kMostParts, parts) &&
         ParseInteger(text.substr(0, slash), 1, parts, part);
}

bool ParseFrameRange(const std::string& text, FrameRange& range) {
  const std::size_t colon = text.find(':');
  std::int64_t first = 0, end = 0;
  const char* middle = text.data() + colon;
  if (colon == std::string::npos) return false;
  const auto [stopFirst, statusFirst] = std::from_chars(text.data(), middle, first);
  const auto [stopEnd, statusEnd] = std::from_chars(middle + 1, text.data() + text.size(), end);
  if (statusFirst != std::errc() || statusEnd != std::errc() || stopFirst != middle ||
      stopEnd != text.data() + text.size() || first < 0 || end < first)
    return false;
  range = {first, end};
  return true;
}

bool ParseSize(const std::string& text, std::int32_t& width, std::int32_t& height) {
  const std::size_t cross = text.find('x');
  if (cross == std::string::npos) return false;
  return ParseInteger(text.substr(0, cross), 1, kLargestSide, width) &&
         ParseInteger(text.substr(cross + 1), 1, kLargestSide, height);
}

class ArgumentReader {
 public:
  explicit ArgumentReader(const std::vector<std::string>& words) : words_(words) {}

  ParsedArguments Read() {
    result_.arguments.jobs = DefaultJobs();
    for (index_ = 0; index_ < words_.size() && result_.error.empty(); ++index_) ReadOption(words_[index_]);
    if (result_.error.empty() && !result_.arguments.help && !result_.arguments.version) CheckCombination();
    return result_;
  }

 private:
  void ReadOption(const std::string& option) {
    RenderArguments& arguments = result_.arguments;
    const std::int32_t maxTime = std::numeric_limits<std::int32_t>::max();
    if (option == "--help" || option == "-h") arguments.help = true;
    else if (option == "--version") arguments.version = true;
    else if (option == "--timing") arguments.timing = true;
    else if (option == "--quick-seek") arguments.quickSeek = true;
    else if (option == "--jobs") ReadNumber(option, 1, kMostJobs, arguments.jobs);
    else if (option == "--part") ReadPart(option);
    else if (option == "--worker-frames") ReadWorkerFrames(option);
    else if (option == "--worker-progress-fd") ReadNumber(option, 0, 1023, arguments.progressFd);
    else if (option == "--worker-raw-frames") ReadOutput(option, RenderOutput::RawFrames);
    else if (option == "--demo") ReadText(option, arguments.demoFolder);
    else if (option == "--from") {
      ReadNumber(option, 0, maxTime, arguments.from);
      fromGiven_ = true;
    }
    else if (option == "--to") ReadOptionalNumber(option, arguments.to);
    else if (option == "--at") ReadOptionalNumber(option, at_);
    else if (option == "--fps") ReadNumber(option, 1, kLargestFps, arguments.fps);
    else if (option == "--size") ReadSize(option);
    else if (option == "--frames") ReadOutput(option, RenderOutput::Frames);
    else if (option == "--video") ReadOutput(option, RenderOutput::Video);
    else if (option == "--png") ReadOutput(option, RenderOutput::SinglePicture);
    else result_.error = "unknown option '" + option + "' (see --help)";
  }

  bool NextValue(const std::string& option, std::string& value) {
    if (index_ + 1 >= words_.size()) {
      result_.error = option + " needs a value";
      return false;
    }
    value = words_[++index_];
    return true;
  }

  void ReadText(const std::string& option, std::string& target) {
    std::string value;
    if (NextValue(option, value)) target = value;
  }

  void ReadNumber(const std::string& option, std::int32_t low, std::int32_t high, std::int32_t& target) {
    std::string value;
    if (NextValue(option, value) && !ParseInteger(value, low, high, target))
      result_.error = option + " takes a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                      ", not '" + value + "'";
  }

  void ReadOptionalNumber(const std::string& option, std::optional<std::int32_t>& target) {
    std::int32_t value = 0;
    ReadNumber(option, 0, std::numeric_limits<std::int32_t>::max(), value);
    target = value;
  }

  void ReadSize(const std::string& option) {
    std::string value;
    if (NextValue(option, value) && !ParseSize(value, result_.arguments.width, result_.arguments.height))
      result_.error = "--size takes WIDTHxHEIGHT (1 to " + std::to_string(kLargestSide) + " each), not '" + value + "'";
  }

  void ReadPart(const std::string& option) {
    std::string value;
    if (NextValue(option, value) && !ParsePart(value, result_.arguments.part, result_.arguments.parts))
      result_.error = "--part takes I/N, the I-th of N parts (1 <= I <= N), not '" + value + "'";
  }

  void ReadWorkerFrames(const std::string& option) {
    std::string value;
    FrameRange range;
    if (!NextValue(option, value)) return;
    if (ParseFrameRange(value, range)) result_.arguments.workerFrames = range;
    else result_.error = option + " takes FIRST:END, not '" + value + "'";
  }

  void ReadOutput(const std::string& option, RenderOutput output) {
    if (outputs_++ > 0) {
      result_.error = "give only one of --frames, --video and --png";
      return;
    }
    result_.arguments.output = output;
    ReadText(option, result_.arguments.outputPath);
  }

  void CheckCombination() {
    RenderArguments& arguments = result_.arguments;
    if (outputs_ == 0) result_.error = "no output: give --frames DIR, --video FILE.mp4 or --at MS --png FILE.png";
    else if (arguments.outputPath.empty()) result_.error = "the output path is empty";
    else if (arguments.output == RenderOutput::SinglePicture) CheckSinglePicture();
    else if (at_) result_.error = "--at goes with --png only";
    else if (arguments.to && *arguments.to <= arguments.from) result_.error = "--to must come after --from";
    else if (arguments.output == RenderOutput::Video && (arguments.width % 2 || arguments.height % 2))
      result_.error = "a video needs an even width and height";
  }

  void CheckSinglePicture() {
    RenderArguments& arguments = result_.arguments;
    if (!at_) result_.error = "--png needs --at MS";
    else if (fromGiven_ || arguments.to) result_.error = "--at takes neither --from nor --to";
    else if (arguments.parts > 1) result_.error = "--at renders one frame: it takes no --part";
    else {
      arguments.from = *at_;
      arguments.to = *at_ == std::numeric_limits<std::int32_t>::max() ? *at_ : *at_ + 1;
    }
  }

  const std::vector<std::string>& words_;
  std::size_t index_ = 0;
  ParsedArguments result_;
  std::optional<std::int32_t> at_;
  bool fromGiven_ = false;
  int outputs_ = 0;
};

}  // namespace

ParsedArguments ParseRenderArguments(const std::vector<std::string>& words) { return ArgumentReader(words).Read(); }

bool SizeIsNot4By3(std::int32_t width, std::int32_t height) { return std::int64_t(width) * 3 != std::int64_t(height) * 4; }

std::int32_t DefaultJobs() {
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  return static_cast<std::int32_t>(std::clamp<long>(online, 1, kMostJobs));
}

const char* RenderUsage() {
  return "Usage: kelvane-render [options] (--frames DIR | --video FILE.mp4 | --at MS --png FILE.png)\n"
         "\n"
         "Plays the demo headless on a fixed frame clock and writes what it draws.\n"
         "\n"
         "  --demo DIR        the folder with script.dlx, data/ and the music (default: ., or the\n"
         "                    installed content when . has no script.dlx)\n"
         "  --from MS         first frame's music time (default 0)\n"
         "  --to MS           stop before this music time (default: the demo's end)\n"
         "  --fps N           frames per second (default 60)\n"
         "  --size WxH        picture size (default 640x480; sizes other than 4:3 are stretched)\n"
         "  --jobs N          render in N processes, each on a contiguous part (default: one per\n"
         "                    processor); the output is the same as with --jobs 1\n"
         "  --part I/N        render only the I-th of N contiguous parts of the frames; frames keep\n"
         "                    their numbers (for rendering on many machines: scripts/render-farm)\n"
         "  --frames DIR      PNG frames DIR/frame-000000.png, ...\n"
         "  --video FILE.mp4  H.264 video with the music as AAC\n"
         "  --at MS --png F   the one frame at MS as a PNG\n"
         "  --quick-seek      reach the first frame without replaying the frames before it; on\n"
         "                    Mesa's llvmpipe a few pixels may then differ by one step from a render\n"
         "                    from 0\n"
         "  --timing          print frames and frames per second when done\n"
         "  --help            this text\n"
         "  --version         the program's version\n"
         "\n"
         "Frame k shows the music time from + trunc(k * 1000 / fps). A render that starts later than 0\n"
         "first seeks there: the frames before it change everything they leave for later frames but\n"
         "draw nothing, so it shows exactly what a render from 0 shows. The first time, that costs\n"
         "about 1 ms for each frame before it; notes kept in ~/.cache/kelvane/seek/ (or\n"
         "$XDG_CACHE_HOME) make it well under a second after that.\n"
         "Ctrl-C stops every process after the frame in hand and keeps what was written, the video\n"
         "closed properly; the exit code is then 128 + the signal's number. A process that fails ends\n"
         "the whole render with its message and exit code 1.\n";
}
