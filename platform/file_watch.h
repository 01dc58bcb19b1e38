// Watching folders for files that change, over inotify: what a tool needs to reload what a user has
// just saved.
//
// A file counts as changed when it is written and closed, created, moved into place (as most editors
// save), its attributes change, or it is removed. TakeChanges never waits: it returns each file that
// changed since the last call once, as its folder + "/" + name, in the order of the first change.
#pragma once

#include <map>
#include <string>
#include <vector>

class FileWatch {
 public:
  FileWatch();
  ~FileWatch();
  FileWatch(const FileWatch&) = delete;
  FileWatch& operator=(const FileWatch&) = delete;

  // Watches the files directly inside `folder` (not its subfolders). False when it cannot.
  bool AddFolder(const std::string& folder);
  std::vector<std::string> TakeChanges();

 private:
  int descriptor_;
  std::map<int, std::string> folders_;  // by watch descriptor
};
