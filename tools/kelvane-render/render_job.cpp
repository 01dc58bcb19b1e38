#include "tools/kelvane-render/render_job.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "platform/sound.h"
#include "base/diagnostics.h"
#include "runtime/startup.h"
#include "sequencing/music_state.h"
#include "tools/kelvane-render/frame_clock.h"
#include "tools/kelvane-render/frame_output.h"
#include "tools/kelvane-render/headless_demo.h"
#include "tools/kelvane-render/interruption.h"
#include "tools/kelvane-render/music_samples.h"
#include "tools/kelvane-render/progress_bar.h"

namespace fs = std::filesystem;

namespace {

int ReportRenderFailure(const std::string& message) {
  std::fprintf(stderr, "kelvane-render: %s\n", message.c_str());
  return kRenderFailed;
}

std::string MissingDemoContent(const std::string& folder) {
  std::error_code ignored;
  if (!fs::is_directory(folder, ignored)) return "no demo folder '" + folder + "'";
  if (!fs::is_regular_file(fs::path(folder) / "script.dlx", ignored))
    return "the demo folder '" + folder + "' has no script.dlx";
  if (!fs::is_directory(fs::path(folder) / "data", ignored)) return "the demo folder '" + folder + "' has no data/";
  return "";
}

// The script's music length, or the file's own when the script says 0, as the live start-up sets it;
// a music file that cannot be read is the sound library's fatal error, as live.
void SettleMusicLength() {
  if (!musicFile) return;
  const MusicFile file = InspectMusic(*musicFile, musicOffset);
  if (file.error != kSoundNoError) FatalError("FMOD", SoundErrorText(file.error));
  if (musicLength == 0) musicLength = file.lengthMs;
}

MusicSamples DecodeFor(const FrameClock& clock, std::int64_t frameCount) {
  if (!musicFile) return MusicSamples({});
  const std::int64_t lastWindowEnd = StreamFrameAtTime(clock.TimeOfFrame(frameCount - 1));
  const std::int64_t audioEnd = StreamFrameAtTime(clock.from) + AudioFramesBefore(frameCount, clock.fps);
  return DecodeMusic(*musicFile, musicOffset, std::max(lastWindowEnd, audioEnd));
}

class FrameRunner {
 public:
  FrameRunner(const FrameClock& clock, const MusicSamples& music, ProgressBar& progress)
      : clock_(clock), music_(music), progress_(progress) {}

  void Replay() {
    const auto start = std::chrono::steady_clock::now();
    for (std::int64_t k = 0; k < clock_.ReplayFrameCount() && !Interrupted(); ++k)
      Draw(clock_.TimeOfReplayFrame(k), nullptr);
    replaySeconds_ = SecondsSince(start);
  }

  bool Render(std::int64_t frameCount, FrameOutput& output, std::string& error) {
    const auto start = std::chrono::steady_clock::now();
    Picture picture;
    for (std::int64_t k = 0; k < frameCount && !Interrupted(); ++k) {
      Draw(clock_.TimeOfFrame(k), &picture);
      if (!output.Add(k, picture, error)) return false;
      ++written_;
    }
    renderSeconds_ = SecondsSince(start);
    return true;
  }

  std::int64_t written() const { return written_; }

  void PrintTiming(std::int64_t frameCount) const {
    std::fprintf(stderr, "kelvane-render: %lld frames in %.2f s, %.2f fps (%lld frames replayed first in %.2f s)\n",
                 static_cast<long long>(frameCount), renderSeconds_,
                 renderSeconds_ > 0.0 ? double(frameCount) / renderSeconds_ : 0.0,
                 static_cast<long long>(clock_.ReplayFrameCount()), replaySeconds_);
  }

 private:
  static double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  void Draw(std::int32_t time, Picture* picture) {
    music_.SpectrumAt(time, frameSpectrum_);
    DrawDemoFrame(time, frameSpectrum_, picture);
    progress_.Update(++done_);
  }

  const FrameClock& clock_;
  const MusicSamples& music_;
  ProgressBar& progress_;
  float frameSpectrum_[kSpectrumValues] = {};
  std::int64_t done_ = 0;
  std::int64_t written_ = 0;
  double replaySeconds_ = 0.0;
  double renderSeconds_ = 0.0;
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

}  // namespace

int RunRender(const RenderArguments& arguments) {
  const std::string missing = MissingDemoContent(arguments.demoFolder);
  if (!missing.empty()) return ReportRenderFailure(missing);
  const std::string outputPath = fs::absolute(arguments.outputPath).string();
  std::string error;
  if (!CheckOutputWritable(arguments.output, outputPath, error)) return ReportRenderFailure(error);
  if (SizeIsNot4By3(arguments.width, arguments.height))
    std::fprintf(stderr, "kelvane-render: warning: %dx%d is not 4:3; the scenes are drawn for 4:3 and come out stretched\n",
                 arguments.width, arguments.height);
  CatchInterruptions();
  if (!EnterScratchFolder(arguments.demoFolder, error)) return ReportRenderFailure(error);

  StartDemoOffscreen(arguments.width, arguments.height);
  SettleMusicLength();
  const FrameClock clock{arguments.from, arguments.fps, arguments.to};
  const std::int64_t frameCount = clock.FrameCount(musicLength);
  const MusicSamples music = DecodeFor(clock, frameCount);

  std::unique_ptr<FrameOutput> output = MakeFrameOutput(arguments.output, outputPath);
  const OutputRange range{arguments.from, frameCount, arguments.fps, arguments.width, arguments.height,
                          musicFile ? &music : nullptr};
  if (!output->Open(range, error)) return ReportRenderFailure(error);

  ProgressBar progress(clock.ReplayFrameCount() + frameCount, StandardErrorIsTerminal());
  FrameRunner runner(clock, music, progress);
  runner.Replay();
  const bool rendered = runner.Render(frameCount, *output, error);
  progress.Finish();
  if (rendered && Interrupted()) return StopInterrupted(*output, runner.written(), frameCount, outputPath);
  const bool written = rendered && output->Finish(error);
  if (written && arguments.timing) runner.PrintTiming(frameCount);
  StopHeadlessDemo();
  return written ? 0 : ReportRenderFailure(error);
}
