#include "tools/common/programs.h"

#include <fcntl.h>
#include <spawn.h>

#include <filesystem>

extern char** environ;

namespace fs = std::filesystem;

std::string ProgramBeside(const std::string& name) {
  std::error_code error;
  const fs::path here = fs::read_symlink("/proc/self/exe", error).parent_path();
  for (const fs::path& candidate : {here / ".." / name / name, here / name}) {
    if (!error && fs::is_regular_file(candidate, error)) return candidate.lexically_normal().string();
  }
  return name;
}

pid_t StartProgram(std::vector<std::string> words, const std::string& errors) {
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t child = -1;
  const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return failed == 0 ? child : -1;
}
