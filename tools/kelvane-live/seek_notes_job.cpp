#include "tools/kelvane-live/seek_notes_job.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

extern char** environ;

SeekNotesJob::SeekNotesJob(const std::string& renderer, const std::string& demoFolder, std::int32_t last,
                           std::int32_t fps, std::int32_t width, std::int32_t height) {
  std::error_code ignored;
  picture_ = (std::filesystem::temp_directory_path(ignored) / ("kelvane-live-notes-" + std::to_string(getpid()) + ".png"))
                 .string();
  std::vector<std::string> words = {renderer, "--demo", demoFolder, "--at", std::to_string(last), "--fps",
                                    std::to_string(fps), "--size", std::to_string(width) + "x" + std::to_string(height),
                                    "--jobs", "1", "--png", picture_};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t child = -1;
  if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) child_ = child;
  posix_spawn_file_actions_destroy(&actions);
}

// The renderer stops at its next frame and cleans up after itself; the player does not wait for
// that (its seek may run on for seconds), and the system reaps it.
SeekNotesJob::~SeekNotesJob() {
  if (child_ > 0 && !Ended()) kill(child_, SIGTERM);
  std::error_code ignored;
  std::filesystem::remove(picture_, ignored);
}

bool SeekNotesJob::Ended() {
  if (child_ > 0 && waitpid(child_, nullptr, WNOHANG) == child_) child_ = -1;
  return child_ <= 0;
}
