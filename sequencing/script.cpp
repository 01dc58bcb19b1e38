#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "sequencing/internal/script_fields.h"
#include "sequencing/internal/script_lines.h"
#include "sequencing/sequencing.h"

namespace {

Failure ScriptFault(const char* what) {
  return Failure::Fatal(kTimelineModule, std::string("Something is wrong with the Script! (") + what + ")");
}

// Runs the command lines of one script, stopping at the first failure.
class ScriptRun {
 public:
  explicit ScriptRun(ScriptLog& log) : log_(log) {}

  MaybeFailure Line(std::string_view line) {
    if (line.empty() || line.front() != '@') return std::nullopt;
    log_.Line("Command Line was found", 0);
    const std::size_t blank = line.find(kScriptBlank);
    if (blank == std::string_view::npos) return ScriptFault("Empty Command?");
    const std::string_view word = line.substr(0, blank);
    if (word == "@music") return MusicCommand(line);
    if (word == "@scene") return SceneCommand(line);
    return std::nullopt;  // "@fx" is accepted and does nothing; other words are no command at all
  }

 private:
  // The text after the command word and its blank.
  static std::string_view ArgumentsOf(std::string_view line) { return line.substr(line.find(kScriptBlank) + 1); }

  // The field's number into `value`; false when it is none.
  static bool Number(std::string_view field, std::int32_t& value) {
    const std::optional<std::int32_t> parsed = ParseScriptInteger(field);
    if (parsed) value = *parsed;
    return parsed.has_value();
  }

  MaybeFailure MusicCommand(std::string_view line) {
    std::string_view rest = ArgumentsOf(line);
    log_.Line("Reading Module Type", 0);
    NextWord(rest);  // the module type is read and ignored
    log_.Line("Loading Module", 0);
    musicFile = std::string(NextWord(rest));
    log_.WholeLine(musicFile->c_str(), 0);
    if (!Number(NextWord(rest), musicOffset)) return ScriptFault("Could not read Module Start Time");
    log_.Line("Start Time", musicOffset);
    if (!Number(NextWord(rest), musicLength)) return ScriptFault("Could not read Module End Time");
    log_.Line("End Time", musicLength);
    std::int32_t state = 0;
    if (!Number(rest, state)) return ScriptFault("Could not read Module State");
    log_.Line("Module State", state);
    musicOn = state == 1;
    return std::nullopt;
  }

  // The highest occupied slot whose scene has exactly this name; 0 when none has.
  static std::int32_t FindScene(std::string_view name) {
    std::int32_t found = 0;
    if (name.empty()) return found;
    for (std::int32_t slot = 1; slot <= kSceneTableSlots; ++slot) {
      const Scene* scene = sceneTable.Get(slot);
      if (scene && scene->name == name) found = slot;
    }
    return found;
  }

  MaybeFailure SceneCommand(std::string_view line) {
    std::string_view rest = ArgumentsOf(line);
    const std::int32_t slot = FindScene(NextWord(rest));
    if (slot == 0) return ScriptFault("Could not read out the Scene Name");
    log_.Line("Loading Scene", slot);
    std::int32_t id = 0, start = 0, end = 0;
    if (!Number(NextWord(rest), id) || !timelineTable.Get(id)) return ScriptFault("Could not read Timeline ID");
    log_.Line("Timeline ID", id);
    if (!Number(NextWord(rest), start)) return ScriptFault("Could not read Scene Start Time");
    log_.Line("Start Time", start);
    if (!Number(NextWord(rest), end)) return ScriptFault("Could not read Scene End Time");
    log_.Line("End Time", end);
    if (!SpanFitsTimeline(start, end)) return ScriptFault("Scene span outside the timeline");
    PlaceScene(*timelineTable.Get(id), *sceneTable.Get(slot), start, end);
    return std::nullopt;
  }

  ScriptLog& log_;
};

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
  explicit FileSource(std::FILE* file) : file_(file) {}
  ~FileSource() override { std::fclose(file_); }
  std::size_t Read(char* destination, std::size_t size) override {
    const std::size_t got = std::fread(destination, 1, size, file_);
    if (got == 0 && std::ferror(file_)) failed_ = true;
    return failed_ ? 0 : got;
  }
  bool Failed() const override { return failed_; }
  bool Rewind() { return std::fseek(file_, 0, SEEK_SET) == 0; }

 private:
  std::FILE* file_;
  bool failed_ = false;
};

// A script of more than 100000 lines is refused before any of it runs.
MaybeFailure CountLines(ScriptSource& source, const Failure& readFailure) {
  std::string line;
  ScriptLineReader reader(source);
  for (std::int32_t count = 0; reader.Next(line) && !source.Failed();) {
    if (++count > kMaxScriptLines) return ScriptFault("More than 100000 lines");
  }
  if (source.Failed()) return readFailure;
  return std::nullopt;
}

MaybeFailure RunLines(ScriptSource& source, const Failure& readFailure, ScriptLog& log) {
  std::string line;
  ScriptRun run(log);
  ScriptLineReader reader(source);
  while (reader.Next(line) && !source.Failed()) {
    if (MaybeFailure failure = run.Line(line)) return failure;
  }
  if (source.Failed()) return readFailure;
  log.Line("Script File Loaded", 0);
  log.Line(kLogSeparator, 0);
  return std::nullopt;
}

bool IsFolder(std::FILE* file) {
  struct stat info {};
  return fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}

class DebugLogTrace : public ScriptLog {
 public:
  void Line(std::string_view text, std::int32_t number) override { DebugLog(text, number); }
  void WholeLine(const char* text, std::int32_t number) override { DebugLogCString(text, number); }
};

}  // namespace

MaybeFailure RunScriptText(std::string_view text, ScriptLog& log) {
  const Failure never = Failure::Io(IoErrorCode::ReadPastEnd, "script text");  // memory does not fail
  TextSource counting(text);
  if (MaybeFailure failure = CountLines(counting, never)) return failure;
  TextSource running(text);
  return RunLines(running, never, log);
}

MaybeFailure RunScriptFile(std::string_view fileName, ScriptLog& log) {
  const std::string name(fileName.substr(0, kMaxLogText));
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file && IsFolder(file)) {
    std::fclose(file);
    file = nullptr;
  }
  if (!file) return Failure::Fatal(kTimelineModule, "Could not load Script file!");
  // One open file serves both passes, so a script that changes in between is still read as one.
  FileSource source(file);
  const Failure readFailure = Failure::Io(IoErrorCode::ReadPastEnd, name);
  if (MaybeFailure failure = CountLines(source, readFailure)) return failure;
  if (!source.Rewind()) return readFailure;
  return RunLines(source, readFailure, log);
}

void LoadScript(std::string_view fileName) {
  DebugLogTrace trace;
  if (MaybeFailure failure = RunScriptFile(fileName, trace)) ReportFailure(*failure);
}
