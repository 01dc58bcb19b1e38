#include "tools/kelvane-render/render_job.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "base/diagnostics.h"
#include "platform/sound.h"
#include "runtime/runtime.h"
#include "sequencing/sequencing.h"
#include "tools/kelvane-render/frame_clock.h"
#include "tools/kelvane-render/frame_output.h"
#include "tools/common/scratch_folder.h"
#include "tools/kelvane-render/headless_demo.h"
#include "tools/kelvane-render/interruption.h"
#include "tools/common/music_samples.h"
#include "tools/common/seek_notes.h"
#include "tools/kelvane-render/parallel_render.h"
#include "tools/kelvane-render/progress_bar.h"

namespace fs = std::filesystem;

namespace {

std::string MissingDemoContent(const std::string& folder) {
  std::error_code ignored;
  if (!fs::is_directory(folder, ignored)) return "no demo folder '" + folder + "'";
  if (!fs::is_regular_file(fs::path(folder) / "script.dlx", ignored))
    return "the demo folder '" + folder + "' has no script.dlx";
  if (!fs::is_directory(fs::path(folder) / "data", ignored)) return "the demo folder '" + folder + "' has no data/";
  return "";
}

MusicSamples DecodeFor(const FrameClock& clock, std::int64_t frameCount) {
  if (!musicFile) return MusicSamples({});
  const std::int64_t lastWindowEnd = StreamFrameAtTime(clock.TimeOfFrame(frameCount - 1));
  const std::int64_t audioEnd = StreamFrameAtTime(clock.from) + AudioFramesBefore(frameCount, clock.fps);
  return DecodeMusic(*musicFile, musicOffset, std::max(lastWindowEnd, audioEnd));
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The frames of one process, each written as soon as it is drawn.
class FrameRunner {
 public:
  FrameRunner(const FrameClock& clock, const MusicSamples& music, FrameCounter& counter)
      : clock_(clock), music_(music), counter_(counter) {}

  double Seek(std::int64_t first, SeekMode mode, VertexBufferFills* notes) {
    const auto start = std::chrono::steady_clock::now();
    SeekToFrame(clock_.from, clock_.fps, first, mode, notes, true);  // a fresh process: its notes hold
    return SecondsSince(start);
  }

  bool Render(const FrameRange& frames, FrameOutput& output, std::string& error) {
    Picture picture;
    for (std::int64_t k = frames.first; k < frames.end && !Interrupted(); ++k) {
      music_.SpectrumAt(clock_.TimeOfFrame(k), frameSpectrum_);
      DrawDemoFrame(clock_.TimeOfFrame(k), frameSpectrum_, &picture);
      if (!output.Add(k, picture, error)) return false;
      ++written_;
      counter_.FrameDone();
    }
    return true;
  }

  std::int64_t written() const { return written_; }

 private:
  const FrameClock& clock_;
  const MusicSamples& music_;
  FrameCounter& counter_;
  float frameSpectrum_[kSpectrumValues] = {};
  std::int64_t written_ = 0;
};

// What an interrupted render leaves: the frames so far, in an output that is closed properly.
int StopInterrupted(FrameOutput& output, std::int64_t written, std::int64_t frameCount, const std::string& path) {
  std::string error;
  const bool finished = output.Finish(error);
  StopHeadlessDemo();
  std::fprintf(stderr, "kelvane-render: interrupted (signal %d); %s the first %lld of %lld frames in %s\n",
               InterruptingSignal(), finished ? "kept" : "could not close", static_cast<long long>(written),
               static_cast<long long>(frameCount), path.c_str());
  if (!finished) std::fprintf(stderr, "kelvane-render: %s\n", error.c_str());
  return 128 + InterruptingSignal();
}

void PrintTiming(std::int64_t frames, double seconds, double seekSeconds) {
  std::fprintf(stderr, "kelvane-render: %lld frames in %.2f s, %.2f fps (seek to the first frame %.3f s)\n",
               static_cast<long long>(frames), seconds, seconds > 0.0 ? double(frames) / seconds : 0.0,
               seekSeconds);
}

// The frames of `range` in this process, after a seek to the first of them.
int RenderHere(const RenderArguments& arguments, const std::string& outputPath, const FrameClock& clock,
               std::int64_t frameCount, const FrameRange& range, const MusicSamples& music) {
  std::string error;
  std::unique_ptr<FrameOutput> output = MakeFrameOutput(arguments.output, outputPath);
  const OutputRange outputRange{arguments.from, frameCount, arguments.fps, arguments.width, arguments.height,
                                musicFile ? &music : nullptr};
  if (!output->Open(outputRange, error)) return ReportRenderFailure(error);

  const bool isWorker = arguments.workerFrames.has_value();
  FrameCounter counter(range.end - range.first, arguments.progressFd, !isWorker && StandardErrorIsTerminal());
  FrameRunner runner(clock, music, counter);
  double seekSeconds = 0;
  if (arguments.quickSeek) {
    seekSeconds = runner.Seek(range.first, SeekMode::kQuick, nullptr);
  } else {
    SeekNotes notes("/proc/self/exe", arguments.fps, arguments.width, arguments.height);
    seekSeconds = runner.Seek(range.first, SeekMode::kExact, &notes.fills());
    notes.Save();
  }
  const auto start = std::chrono::steady_clock::now();
  const bool rendered = runner.Render(range, *output, error);
  const double seconds = SecondsSince(start);
  counter.Finish();
  if (rendered && Interrupted()) return StopInterrupted(*output, runner.written(), range.end - range.first, outputPath);
  const bool written = rendered && output->Finish(error);
  if (written && arguments.timing) PrintTiming(range.end - range.first, seconds, seekSeconds);
  StopHeadlessDemo();
  return written ? 0 : ReportRenderFailure(error);
}

}  // namespace

int ReportRenderFailure(const std::string& message) {
  std::fprintf(stderr, "kelvane-render: %s\n", message.c_str());
  return kRenderFailed;
}

int RunRender(const RenderArguments& arguments) {
  const std::string missing = MissingDemoContent(arguments.demoFolder);
  if (!missing.empty()) return ReportRenderFailure(missing);
  const std::string outputPath = fs::absolute(arguments.outputPath).string();
  std::string error;
  if (!CheckOutputWritable(arguments.output, outputPath, error)) return ReportRenderFailure(error);
  const bool isWorker = arguments.workerFrames.has_value();
  if (!isWorker && SizeIsNot4By3(arguments.width, arguments.height))
    std::fprintf(stderr, "kelvane-render: warning: %dx%d is not 4:3; the scenes are drawn for 4:3 and come out stretched\n",
                 arguments.width, arguments.height);
  CatchInterruptions();
  if (isWorker) DieWithTheMainProcess();
  if (!EnterScratchFolder(arguments.demoFolder, "kelvane-render", error)) return ReportRenderFailure(error);

  StartDemoOffscreen(arguments.width, arguments.height);
  SettleMusicLength();
  const FrameClock clock{arguments.from, arguments.fps, arguments.to};
  const std::int64_t frameCount = clock.FrameCount(musicLength);
  const FrameRange range =
      isWorker ? *arguments.workerFrames : PartOfFrames(frameCount, arguments.part, arguments.parts);
  const MusicSamples music = DecodeFor(clock, frameCount);

  const bool parallel = !isWorker && arguments.jobs > 1 && range.end - range.first > 1 &&
                        arguments.output != RenderOutput::SinglePicture;
  if (!parallel) return RenderHere(arguments, outputPath, clock, frameCount, range, music);

  // The workers start the demo themselves; this process keeps only the music for the video.
  StopHeadlessDemo();
  const OutputRange outputRange{arguments.from, frameCount, arguments.fps, arguments.width, arguments.height,
                                musicFile ? &music : nullptr};
  return RenderInParallel(arguments, outputPath, outputRange, range);
}
