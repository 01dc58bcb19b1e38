// Running a program as a child process in a chosen folder, for tests that check what a whole program
// leaves behind: its exit code, its standard output and error, the files it wrote.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

struct ProcessResult {
  int exitCode = -1;  // -1 if it did not exit normally (killed by a signal)
  std::string out;
  std::string err;
};

// Runs argv[0] (a path) with the arguments in `folder`. `environment` entries are set in the child
// ("" as a value unsets the variable). `whileRunning`, if given, is called with the child's process
// id once it has started, before the wait for its end (to signal it, say).
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& folder,
                         const std::map<std::string, std::string>& environment = {},
                         const std::function<void(int)>& whileRunning = {});

// A fresh empty folder under the system's temporary folder, removed by the destructor.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string ReadWholeFile(const std::string& path);  // "" if it cannot be read
bool FileExists(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
