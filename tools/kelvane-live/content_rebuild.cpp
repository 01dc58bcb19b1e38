#include "tools/kelvane-live/content_rebuild.h"
#include "tools/common/programs.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

constexpr const char* kBuilders[] = {"make-pictures", "make-music"};
constexpr const char* kErrorsFile = "builder-errors.txt";

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// The music is built under the name the script gives it when that is an .ogg inside the demo folder.
bool UsableMusicName(const std::string& name) {
  const fs::path path(name);
  return path.is_relative() && path.extension() == ".ogg" &&
         std::none_of(path.begin(), path.end(), [](const fs::path& part) { return part == ".."; });
}

std::string LastLine(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  const std::size_t start = text.rfind('\n');
  return start == std::string::npos ? text : text.substr(start + 1);
}

// Replaces `target` with `source` when they differ, by a copy beside it renamed into place, so a
// reader never sees half a file. True when it was replaced.
bool ReplaceIfDifferent(const fs::path& source, const fs::path& target, std::string& problem) {
  const std::string bytes = ReadFile(source);
  std::error_code error;
  if (!fs::is_regular_file(source, error) || bytes == ReadFile(target)) return false;
  // Appended rather than "." + name: GCC 12 at -O3 takes a literal put in front of a temporary string
  // for an overlapping copy (-Wrestrict, a false positive).
  std::string hidden = ".";
  hidden.append(target.filename().string()).append(".part");
  const fs::path partial = target.parent_path() / hidden;
  std::ofstream(partial, std::ios::binary | std::ios::trunc) << bytes;
  if (fs::file_size(partial, error) != bytes.size() || error) problem = "cannot write " + partial.string();
  else fs::rename(partial, target, error);
  if (error && problem.empty()) problem = "cannot replace " + target.string() + ": " + error.message();
  if (!problem.empty()) fs::remove(partial, error);
  return problem.empty();
}

}  // namespace

ContentRebuild::ContentRebuild(std::string assetsFolder, std::string demoFolder)
    : assets_(std::move(assetsFolder)), demo_(std::move(demoFolder)) {}

ContentRebuild::~ContentRebuild() {
  if (running()) {
    kill(child_, SIGTERM);
    waitpid(child_, nullptr, 0);
  }
  Finish();
}

std::string ContentRebuild::Start(const std::string& musicName) {
  if (running()) return "rebuilding already";
  std::string pattern = (fs::temp_directory_path() / "kelvane-live-rebuild-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return "cannot make a folder to rebuild in";
  stage_ = pattern;
  musicName_ = musicName.empty() ? "kelvane.ogg" : musicName;
  steps_ = UsableMusicName(musicName_) ? 2 : 1;
  step_ = 0;
  std::vector<std::string> messages;
  return SpawnNext(messages) ? "rebuilding from " + assets_ : messages.back();
}

bool ContentRebuild::SpawnNext(std::vector<std::string>& messages) {
  const std::string name = kBuilders[step_];
  std::vector<std::string> words = {ProgramBeside(name)};
  if (step_ == 0) words.insert(words.end(), {"--assets", assets_, "--out", stage_});
  else words.insert(words.end(), {"--ogg", (fs::path(stage_) / musicName_).string()});
  std::error_code ignored;
  if (step_ == 1) fs::create_directories((fs::path(stage_) / musicName_).parent_path(), ignored);
  child_ = StartProgram(words, (fs::path(stage_) / kErrorsFile).string());
  const bool failed = child_ < 0;
  if (failed) {
    messages.push_back("cannot run " + name + ": not found beside kelvane-live or on PATH");
    Finish();
  }
  return !failed;
}

std::vector<std::string> ContentRebuild::Poll() {
  std::vector<std::string> messages;
  int status = 0;
  if (!running() || waitpid(child_, &status, WNOHANG) != child_) return messages;
  child_ = -1;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    const std::string why = LastLine(ReadFile(fs::path(stage_) / kErrorsFile));
    messages.push_back(std::string(kBuilders[step_]) + " failed" + (why.empty() ? "" : ": " + why));
    Finish();
  } else if (++step_ < steps_) {
    SpawnNext(messages);
  } else {
    Install(messages);
    Finish();
  }
  return messages;
}

// The outputs that differ replace the demo folder's files: the pictures first, the script last, so
// that a script naming new pictures finds them.
void ContentRebuild::Install(std::vector<std::string>& messages) {
  std::vector<std::pair<fs::path, std::string>> outputs;  // built file, name in the demo folder
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(stage_) / "data", error)) {
    outputs.emplace_back(entry.path(), "data/" + entry.path().filename().string());
  }
  std::sort(outputs.begin(), outputs.end());
  if (steps_ == 2) outputs.emplace_back(fs::path(stage_) / musicName_, musicName_);
  outputs.emplace_back(fs::path(assets_) / "script.dlx", "script.dlx");
  std::string replaced, problem;
  for (const auto& [built, name] : outputs) {
    if (ReplaceIfDifferent(built, fs::path(demo_) / name, problem)) replaced += (replaced.empty() ? "" : ", ") + name;
    if (!problem.empty()) return messages.push_back("rebuild: " + problem);
  }
  messages.push_back(replaced.empty() ? "rebuilt: nothing changed" : "rebuilt " + replaced);
}

void ContentRebuild::Finish() {
  std::error_code ignored;
  if (!stage_.empty()) fs::remove_all(stage_, ignored);
  stage_.clear();
}
