#include "platform/file_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

constexpr std::uint32_t kChanges = IN_CLOSE_WRITE | IN_CREATE | IN_MOVED_TO | IN_ATTRIB | IN_DELETE | IN_MOVED_FROM;

}  // namespace

FileWatch::FileWatch() : descriptor_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

FileWatch::~FileWatch() {
  if (descriptor_ >= 0) close(descriptor_);
}

bool FileWatch::AddFolder(const std::string& folder) {
  if (descriptor_ < 0) return false;
  const int watch = inotify_add_watch(descriptor_, folder.c_str(), kChanges | IN_ONLYDIR);
  if (watch < 0) return false;
  folders_[watch] = folder;
  return true;
}

std::vector<std::string> FileWatch::TakeChanges() {
  std::vector<std::string> changed;
  if (descriptor_ < 0) return changed;
  alignas(inotify_event) char buffer[16384];
  for (;;) {
    const ssize_t got = read(descriptor_, buffer, sizeof buffer);
    if (got <= 0) break;  // EAGAIN: nothing more for now
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      const auto folder = folders_.find(event->wd);
      if (folder == folders_.end() || event->len == 0) continue;
      const std::string path = folder->second + "/" + event->name;
      if (std::find(changed.begin(), changed.end(), path) == changed.end()) changed.push_back(path);
    }
  }
  return changed;
}
