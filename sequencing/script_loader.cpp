#include "sequencing/script_loader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/diagnostics.h"
#include "sequencing/music_state.h"
#include "sequencing/scene.h"
#include "sequencing/script_fields.h"
#include "sequencing/script_lines.h"
#include "sequencing/timeline.h"

namespace {

constexpr const char* kModule = "zenTimeline";

[[noreturn]] void ScriptFault(const char* what) {
  const std::string message = std::string("Something is wrong with the Script! (") + what + ")";
  FatalError(kModule, message.c_str());
}

std::int32_t NumberOrFault(std::string_view field, const char* what) {
  const std::optional<std::int32_t> value = ParseScriptInteger(field);
  if (!value) ScriptFault(what);
  return *value;
}

// The text after the command word and its blank.
std::string_view ArgumentsOf(std::string_view line) { return line.substr(line.find(kScriptBlank) + 1); }

void MusicCommand(std::string_view line) {
  std::string_view rest = ArgumentsOf(line);
  DebugLog("Reading Module Type", 0);
  NextWord(rest);  // the module type is read and ignored
  DebugLog("Loading Module", 0);
  musicFile = std::string(NextWord(rest));
  DebugLogCString(musicFile->c_str(), 0);

  musicOffset = NumberOrFault(NextWord(rest), "Could not read Module Start Time");
  DebugLog("Start Time", musicOffset);
  musicLength = NumberOrFault(NextWord(rest), "Could not read Module End Time");
  DebugLog("End Time", musicLength);
  const std::int32_t state = NumberOrFault(rest, "Could not read Module State");
  DebugLog("Module State", state);
  musicOn = state == 1;
}

// The highest occupied slot whose scene has exactly this name; 0 when none has.
std::int32_t FindScene(std::string_view name) {
  std::int32_t found = 0;
  if (name.empty()) return found;
  for (std::int32_t slot = 1; slot <= kSceneTableSlots; ++slot) {
    const Scene* scene = sceneTable.Get(slot);
    if (scene && scene->name == name) found = slot;
  }
  return found;
}

void SceneCommand(std::string_view line) {
  std::string_view rest = ArgumentsOf(line);
  const std::int32_t slot = FindScene(NextWord(rest));
  if (slot == 0) ScriptFault("Could not read out the Scene Name");
  DebugLog("Loading Scene", slot);

  const std::int32_t id = NumberOrFault(NextWord(rest), "Could not read Timeline ID");
  Timeline* timeline = timelineTable.Get(id);
  if (!timeline) ScriptFault("Could not read Timeline ID");
  DebugLog("Timeline ID", id);

  const std::int32_t start = NumberOrFault(NextWord(rest), "Could not read Scene Start Time");
  DebugLog("Start Time", start);
  const std::int32_t end = NumberOrFault(NextWord(rest), "Could not read Scene End Time");
  DebugLog("End Time", end);

  if (!SpanFitsTimeline(start, end)) ScriptFault("Scene span outside the timeline");
  PlaceScene(*timeline, *sceneTable.Get(slot), start, end);
}

void CommandLine(std::string_view line) {
  DebugLog("Command Line was found", 0);
  const std::size_t blank = line.find(kScriptBlank);
  if (blank == std::string_view::npos) ScriptFault("Empty Command?");
  const std::string_view word = line.substr(0, blank);
  if (word == "@music") MusicCommand(line);
  else if (word == "@scene") SceneCommand(line);
  // "@fx" is accepted and does nothing; other words are no command at all.
}

void RefuseOverlongScript(ScriptSource& source) {
  ScriptLineReader reader(source);
  std::string line;
  for (std::int32_t count = 0; reader.Next(line);) {
    if (++count > kMaxScriptLines) ScriptFault("More than 100000 lines");
  }
}

void RunLines(ScriptSource& source) {
  ScriptLineReader reader(source);
  std::string line;
  while (reader.Next(line)) {
    if (!line.empty() && line.front() == '@') CommandLine(line);
  }
}

class TextSource : public ScriptSource {
 public:
  explicit TextSource(std::string_view text) : rest_(text) {}
  std::size_t Read(char* destination, std::size_t size) override {
    const std::size_t count = std::min(size, rest_.size());
    std::memcpy(destination, rest_.data(), count);
    rest_.remove_prefix(count);
    return count;
  }

 private:
  std::string_view rest_;
};

class FileSource : public ScriptSource {
 public:
  FileSource(std::FILE* file, std::string name) : file_(file), name_(std::move(name)) {}
  std::size_t Read(char* destination, std::size_t size) override {
    const std::size_t got = std::fread(destination, 1, size, file_);
    if (got == 0 && std::ferror(file_)) IoError(name_, IoErrorCode::ReadPastEnd);
    return got;
  }
  void Rewind() {
    if (std::fseek(file_, 0, SEEK_SET) != 0) IoError(name_, IoErrorCode::ReadPastEnd);
  }

 private:
  std::FILE* file_;
  std::string name_;
};

// Closes the script on every way out, the fatal ones included (they throw under a FailureTrap).
struct ClosingFile {
  std::FILE* file;
  ~ClosingFile() { std::fclose(file); }
};

bool IsFolder(std::FILE* file) {
  struct stat info {};
  return fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}

void LogScriptLoaded() {
  DebugLog("Script File Loaded", 0);
  DebugLog(kLogSeparator, 0);
}

}  // namespace

void LoadScript(std::string_view fileName) {
  const std::string name(fileName.substr(0, kMaxLogText));
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file && IsFolder(file)) {
    std::fclose(file);
    file = nullptr;
  }
  if (!file) FatalError(kModule, "Could not load Script file!");
  {
    const ClosingFile closing{file};
    FileSource source(file, name);
    RefuseOverlongScript(source);
    source.Rewind();
    RunLines(source);
  }
  LogScriptLoaded();
}

void LoadScriptText(std::string_view text) {
  TextSource counting(text);
  RefuseOverlongScript(counting);
  TextSource running(text);
  RunLines(running);
  LogScriptLoaded();
}
