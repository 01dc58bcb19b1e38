// The script parser on any text. It must never end the process or crash, every failure it returns
// must be its own ("zenTimeline") with a message, and the demo's timeline must survive every script.
//
// The scenes of start-up and "Timeline1" are registered once: a timeline is large to make, and a
// script only ever overwrites its slots. The trace goes nowhere.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "sequencing/sequencing.h"

namespace {

void Quiet() {}

class NoTrace : public ScriptLog {
 public:
  void Line(std::string_view, std::int32_t) override {}
  void WholeLine(const char*, std::int32_t) override {}
};

void RegisterScenes() {
  const char* names[] = {"Scene01", "Scene02", "Scene05", "Scene06", "Scene08", "Scene09", "Scene10", "Scene11"};
  std::int32_t slot = 1;
  for (const char* name : names) sceneTable[slot++] = std::make_unique<Scene>(name, Quiet, Quiet, Quiet);
  FUZZ_CHECK(!MakeTimeline("Timeline1", 99890, timelineTable[kDemoTimelineSlot]));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RegisterScenes();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ResetMusicState();
  NoTrace trace;
  const MaybeFailure failure = RunScriptText(std::string_view(reinterpret_cast<const char*>(data), size), trace);
  if (failure) {
    FUZZ_CHECK(failure->kind == Failure::Kind::Fatal);
    FUZZ_CHECK(failure->module == "zenTimeline");
    FUZZ_CHECK(!failure->message.empty());
  }
  const Timeline* timeline = timelineTable.Get(kDemoTimelineSlot);
  FUZZ_CHECK(timeline != nullptr && timeline->size == 99890);
  return 0;
}
