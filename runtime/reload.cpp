#include <memory>
#include <optional>
#include <string>

#include "runtime/runtime.h"

namespace {

// The script's side of the music state, kept to be put back when a new script fails.
struct MusicNames {
  std::optional<std::string> file;
  std::int32_t offset;
  std::int32_t length;
  bool on;
};

class DebugLogTrace : public ScriptLog {
 public:
  void Line(std::string_view text, std::int32_t number) override { DebugLog(text, number); }
  void WholeLine(const char* text, std::int32_t number) override { DebugLogCString(text, number); }
};

}  // namespace

MaybeFailure ReloadScript() {
  std::unique_ptr<Timeline> old = std::move(timelineTable[kDemoTimelineSlot]);
  const MusicNames music{musicFile, musicOffset, musicLength, musicOn};
  musicFile.reset();
  musicLength = 0;
  MaybeFailure failure = MakeTimeline("Timeline1", kTimelineSize, timelineTable[kDemoTimelineSlot]);
  DebugLogTrace trace;
  if (!failure) failure = RunScriptFile(kScriptFile, trace);
  if (!failure) return std::nullopt;
  timelineTable[kDemoTimelineSlot] = std::move(old);
  musicFile = music.file;
  musicOffset = music.offset;
  musicLength = music.length;
  musicOn = music.on;
  return failure;
}
