#include "tools/kelvane-render/parallel_render.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tools/kelvane-render/frame_clock.h"
#include "tools/kelvane-render/interruption.h"
#include "tools/kelvane-render/progress_bar.h"
#include "tools/kelvane-render/render_job.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr int kWorkerProgressFd = 3;

struct Worker {
  FrameRange frames;
  pid_t pid = -1;
  int progress = -1;  // read end of its progress pipe; -1 once closed
  bool running = false;
  int exitCode = 0;
};

std::vector<std::string> WorkerWords(const RenderArguments& arguments, const FrameRange& frames,
                                     const std::string& outputPath, const std::string& rawFolder) {
  std::vector<std::string> words = {
      "kelvane-render", "--demo", arguments.demoFolder, "--from", std::to_string(arguments.from),
      "--fps", std::to_string(arguments.fps), "--size",
      std::to_string(arguments.width) + "x" + std::to_string(arguments.height), "--jobs", "1",
      "--worker-frames", std::to_string(frames.first) + ":" + std::to_string(frames.end),
      "--worker-progress-fd", std::to_string(kWorkerProgressFd)};
  if (arguments.to) words.insert(words.end(), {"--to", std::to_string(*arguments.to)});
  if (arguments.quickSeek) words.emplace_back("--quick-seek");
  if (arguments.output == RenderOutput::Video) words.insert(words.end(), {"--worker-raw-frames", rawFolder});
  else words.insert(words.end(), {"--frames", outputPath});
  return words;
}

// llvmpipe starts a rasteriser thread per processor in every process; with several workers that is
// more threads than processors, so each worker gets its share unless the user chose.
std::vector<std::string> WorkerEnvironment(std::int32_t jobs) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) environment.emplace_back(*entry);
  if (!std::getenv("LP_NUM_THREADS")) {
    const std::int32_t share = std::max<std::int32_t>(1, DefaultJobs() / jobs);
    environment.push_back("LP_NUM_THREADS=" + std::to_string(share));
  }
  return environment;
}

std::vector<char*> Pointers(std::vector<std::string>& words) {
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  return pointers;
}

bool Start(Worker& worker, std::vector<std::string> words, std::vector<std::string> environment, std::string& error) {
  int pipe[2];
  if (pipe2(pipe, O_CLOEXEC) != 0) {
    error = "cannot make a pipe for a worker";
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe[1], kWorkerProgressFd);
  std::vector<char*> argv = Pointers(words);
  std::vector<char*> envp = Pointers(environment);
  const int status = posix_spawn(&worker.pid, "/proc/self/exe", &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipe[1]);
  if (status != 0) {
    close(pipe[0]);
    error = "cannot start a worker process";
    return false;
  }
  worker.progress = pipe[0];
  worker.running = true;
  return true;
}

// Frames the workers finished since the last call, from their pipes; waits up to `waitMs`.
std::int64_t CollectProgress(std::vector<Worker>& workers, int waitMs) {
  std::vector<pollfd> polls;
  for (const Worker& worker : workers)
    if (worker.progress >= 0) polls.push_back({worker.progress, POLLIN, 0});
  if (polls.empty()) return 0;
  if (poll(polls.data(), polls.size(), waitMs) <= 0) return 0;
  std::int64_t done = 0;
  for (Worker& worker : workers) {
    if (worker.progress < 0) continue;
    char bytes[256];
    const ssize_t got = read(worker.progress, bytes, sizeof bytes);
    if (got > 0) done += got;
    else if (got == 0) {
      close(worker.progress);
      worker.progress = -1;
    }
  }
  return done;
}

// Notes the workers that have ended; false once one has failed (ended other than by its success or
// by the interruption this render is already handling).
bool ReapWorkers(std::vector<Worker>& workers) {
  bool allWell = true;
  for (Worker& worker : workers) {
    if (!worker.running) continue;
    int status = 0;
    if (waitpid(worker.pid, &status, WNOHANG) != worker.pid) continue;
    worker.running = false;
    worker.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    const bool interruptedToo = Interrupted() && worker.exitCode == 128 + InterruptingSignal();
    if (worker.exitCode != 0 && !interruptedToo) {
      std::fprintf(stderr, "\nkelvane-render: the worker for frames %lld to %lld failed (exit code %d)\n",
                   static_cast<long long>(worker.frames.first), static_cast<long long>(worker.frames.end - 1),
                   worker.exitCode);
      allWell = false;
    }
  }
  return allWell;
}

bool AnyRunning(const std::vector<Worker>& workers) {
  for (const Worker& worker : workers)
    if (worker.running) return true;
  return false;
}

void Signal(std::vector<Worker>& workers, int signal) {
  for (Worker& worker : workers)
    if (worker.running) kill(worker.pid, signal);
}

void WaitForAll(std::vector<Worker>& workers) {
  for (Worker& worker : workers) {
    if (worker.running) waitpid(worker.pid, nullptr, 0);
    worker.running = false;
    if (worker.progress >= 0) close(worker.progress);
    worker.progress = -1;
  }
}

// The raw frames the workers left, handed to the encoder in order as they come.
class InOrderVideo {
 public:
  InOrderVideo(std::unique_ptr<FrameOutput> video, std::string folder, const OutputRange& range, std::int64_t first)
      : video_(std::move(video)), folder_(std::move(folder)), range_(range), next_(first) {}

  bool FeedReady(std::string& error) {
    for (;;) {
      const std::string path = RawFramePath(folder_, next_);
      std::ifstream file(path, std::ios::binary);
      if (!file) return true;
      Picture picture{range_.width, range_.height, 3, {}};
      picture.pixels.resize(std::size_t(range_.width) * std::size_t(range_.height) * 3);
      if (!file.read(reinterpret_cast<char*>(picture.pixels.data()), std::streamsize(picture.pixels.size()))) {
        error = "cannot read " + path;
        return false;
      }
      if (!video_->Add(next_, picture, error)) return false;
      fs::remove(path);
      ++next_;
    }
  }

  bool Finish(std::string& error) { return video_->Finish(error); }
  std::int64_t next() const { return next_; }

 private:
  std::unique_ptr<FrameOutput> video_;
  std::string folder_;
  OutputRange range_;
  std::int64_t next_;
};

std::string MakeScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "kelvane-render-frames-XXXXXX").string();
  return mkdtemp(pattern.data()) ? pattern : "";
}

}  // namespace

void DieWithTheMainProcess() {
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  // The main process may have ended between the start and the line above.
  if (getppid() == 1) raise(SIGTERM);
}

int RenderInParallel(const RenderArguments& arguments, const std::string& outputPath, const OutputRange& range,
                     const FrameRange& frames) {
  const bool video = arguments.output == RenderOutput::Video;
  const std::int64_t frameCount = frames.end - frames.first;
  const std::int32_t jobs = static_cast<std::int32_t>(std::min<std::int64_t>(arguments.jobs, frameCount));
  std::string error;
  const std::string rawFolder = video ? MakeScratchFolder() : "";
  if (video && rawFolder.empty()) return ReportRenderFailure("cannot make a scratch folder for the frames");
  std::unique_ptr<InOrderVideo> encoder;
  if (video) {
    std::unique_ptr<FrameOutput> output = MakeFrameOutput(RenderOutput::Video, outputPath);
    if (!output->Open(range, error)) return ReportRenderFailure(error);
    encoder = std::make_unique<InOrderVideo>(std::move(output), rawFolder, range, frames.first);
  }

  const auto start = std::chrono::steady_clock::now();
  std::vector<Worker> workers(static_cast<std::size_t>(jobs));
  const std::vector<std::string> environment = WorkerEnvironment(jobs);
  bool healthy = true;
  for (std::int32_t k = 0; k < jobs && healthy; ++k) {
    const FrameRange part = PartOfFrames(frameCount, k + 1, jobs);
    Worker& worker = workers[std::size_t(k)];
    worker.frames = {frames.first + part.first, frames.first + part.end};
    healthy = Start(worker, WorkerWords(arguments, worker.frames, outputPath, rawFolder), environment, error);
  }

  ProgressBar progress(frameCount, StandardErrorIsTerminal());
  std::int64_t done = 0;
  bool forwarded = false;
  while (healthy && (AnyRunning(workers) || (encoder && encoder->next() < frames.end && !Interrupted()))) {
    done += CollectProgress(workers, 100);
    progress.Update(done);
    if (Interrupted() && !forwarded) {
      Signal(workers, InterruptingSignal());  // a signal sent to this process alone reaches them too
      forwarded = true;
    }
    healthy = ReapWorkers(workers) && (!encoder || encoder->FeedReady(error));
    if (!AnyRunning(workers) && encoder && encoder->next() < frames.end && !Interrupted() && healthy) {
      healthy = encoder->FeedReady(error) && encoder->next() == frames.end;
      if (!healthy && error.empty()) error = "a worker ended without all its frames";
    }
  }
  progress.Finish();
  if (!healthy) Signal(workers, SIGTERM);
  WaitForAll(workers);
  if (healthy && encoder && !encoder->FeedReady(error)) healthy = false;
  std::int64_t kept = done;
  if (encoder) kept = encoder->next() - frames.first;
  const bool finished = healthy && (!encoder || encoder->Finish(error));
  if (!rawFolder.empty()) fs::remove_all(rawFolder);
  if (Interrupted() && healthy) {
    std::fprintf(stderr, "kelvane-render: interrupted (signal %d); %s %lld of %lld frames in %s\n",
                 InterruptingSignal(), finished ? "kept" : "could not close", static_cast<long long>(kept),
                 static_cast<long long>(frameCount), outputPath.c_str());
    return 128 + InterruptingSignal();
  }
  if (!finished) return error.empty() ? kRenderFailed : ReportRenderFailure(error);
  if (arguments.timing) {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "kelvane-render: %lld frames in %.2f s, %.2f fps (%d processes)\n",
                 static_cast<long long>(frameCount), seconds, seconds > 0 ? double(frameCount) / seconds : 0.0, jobs);
  }
  return 0;
}
