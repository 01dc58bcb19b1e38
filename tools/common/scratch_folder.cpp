#include "tools/common/scratch_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path scratchFolder;
fs::path demoContent;

bool LinkContent(const fs::path& content, std::string& error) {
  std::error_code failure;
  for (const fs::directory_entry& entry : fs::directory_iterator(content, failure)) {
    const fs::path name = entry.path().filename();
    if (name == "debug.txt" || name == "error.txt" || fs::is_symlink(scratchFolder / name)) continue;
    fs::create_symlink(entry.path(), scratchFolder / name, failure);
    if (failure) break;
  }
  if (failure) error = "cannot prepare the scratch folder " + scratchFolder.string() + ": " + failure.message();
  return !failure;
}

}  // namespace

void RemoveScratchFolder() {
  if (scratchFolder.empty()) return;
  std::error_code ignored;
  fs::current_path(fs::temp_directory_path(ignored), ignored);
  fs::remove_all(scratchFolder, ignored);
  scratchFolder.clear();
}

bool EnterScratchFolder(const std::string& demoFolder, const std::string& prefix, std::string& error) {
  std::error_code failure;
  const fs::path content = fs::absolute(demoFolder, failure);
  std::string pattern = (fs::temp_directory_path(failure) / (prefix + "-XXXXXX")).string();
  if (failure || !mkdtemp(pattern.data())) {
    error = "cannot make a scratch folder under " + fs::temp_directory_path(failure).string();
    return false;
  }
  scratchFolder = pattern;
  demoContent = content;
  std::atexit(RemoveScratchFolder);
  if (!LinkContent(content, error)) return false;
  fs::current_path(scratchFolder, failure);
  if (failure) error = "cannot enter " + scratchFolder.string() + ": " + failure.message();
  return !failure;
}

void LinkNewDemoEntries() {
  std::string ignored;
  if (!scratchFolder.empty()) LinkContent(demoContent, ignored);
}
