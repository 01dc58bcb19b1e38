#include "tools/kelvane-live/content_reload.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "images/texture.h"
#include "runtime/runtime.h"
#include "tools/common/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

void Note(ReloadReport& report, const std::string& name, const MaybeFailure& failure) {
  report.messages.push_back(failure ? failure->Text() : "reloaded " + name);
  report.anyLoaded = report.anyLoaded || !failure;
}

bool IsPicture(const std::string& name) { return name.starts_with("data/") && name.ends_with(".hwl"); }

}  // namespace

ContentReload::ContentReload(const std::string& demoFolder)
    : demoFolder_(fs::absolute(demoFolder).lexically_normal().string()), scriptLength_(musicLength) {
  while (demoFolder_.size() > 1 && demoFolder_.back() == '/') demoFolder_.pop_back();
  watching_ = watch_.AddFolder(demoFolder_) && watch_.AddFolder(demoFolder_ + "/data");
}

std::string ContentReload::Relative(const std::string& path) const {
  return path.starts_with(demoFolder_ + "/") ? path.substr(demoFolder_.size() + 1) : path;
}

// The same music in the new script (same file, offset and length as the script gives them) is not
// decoded again: the length it settled to stays.
void ContentReload::ReloadScriptFile(LiveMusic& music, ReloadReport& report) {
  const std::optional<std::string> oldMusic = musicFile;
  const std::int32_t oldOffset = musicOffset;
  const std::int32_t settled = musicLength;
  const MaybeFailure failure = ReloadScript();
  Note(report, kScriptFile, failure);
  if (failure) return;
  report.scriptLoaded = true;
  const bool sameMusic = musicFile == oldMusic && musicOffset == oldOffset && musicLength == scriptLength_;
  scriptLength_ = musicLength;
  musicLength = settled;
  if (!sameMusic) ReloadMusicFile(music, report);
}

// The music as the script names it, its length settled again; a file that fails keeps the last
// length, as the last music keeps playing.
void ContentReload::ReloadMusicFile(LiveMusic& music, ReloadReport& report) {
  const std::int32_t settled = musicLength;
  musicLength = scriptLength_;
  const MaybeFailure failure = music.Load();
  report.musicRead = true;
  if (failure) musicLength = settled;
  Note(report, musicFile.value_or("the music"), failure);
}

ReloadReport ContentReload::ReloadChanged(LiveMusic& music) {
  ReloadReport report;
  std::vector<std::string> changed;
  for (const std::string& path : watch_.TakeChanges()) changed.push_back(Relative(path));
  if (changed.empty()) return report;
  LinkNewDemoEntries();
  const auto has = [&](const std::string& name) { return std::count(changed.begin(), changed.end(), name) > 0; };
  if (has(kScriptFile)) ReloadScriptFile(music, report);
  for (const std::string& name : changed) {
    if (IsPicture(name)) Note(report, name, ReloadDemoTexture(name));
  }
  if (musicFile && has(*musicFile) && !report.musicRead) ReloadMusicFile(music, report);
  return report;
}
