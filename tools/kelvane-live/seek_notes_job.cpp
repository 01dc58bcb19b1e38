#include "tools/kelvane-live/seek_notes_job.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "tools/common/programs.h"

SeekNotesJob::SeekNotesJob(const std::string& renderer, const std::string& demoFolder, std::int32_t last,
                           std::int32_t fps, std::int32_t width, std::int32_t height) {
  std::error_code ignored;
  picture_ = (std::filesystem::temp_directory_path(ignored) / ("kelvane-live-notes-" + std::to_string(getpid()) + ".png"))
                 .string();
  std::vector<std::string> words = {renderer, "--demo", demoFolder, "--at", std::to_string(last), "--fps",
                                    std::to_string(fps), "--size", std::to_string(width) + "x" + std::to_string(height),
                                    "--jobs", "1", "--png", picture_};
  child_ = StartProgram(words, "/dev/null");
}

// The renderer stops at its next frame and cleans up after itself. The player does not wait for
// that (its seek may run on for seconds); the process is reaped when the player ends.
SeekNotesJob::~SeekNotesJob() {
  if (child_ > 0 && !Ended()) kill(child_, SIGTERM);
  std::error_code ignored;
  std::filesystem::remove(picture_, ignored);
}

bool SeekNotesJob::Ended() {
  if (child_ > 0 && waitpid(child_, nullptr, WNOHANG) == child_) child_ = -1;
  return child_ <= 0;
}
