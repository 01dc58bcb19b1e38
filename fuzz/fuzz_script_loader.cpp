// The script loader on any text. Its fatal errors come back as exceptions and count as results; the
// process must never end, and every failure must be the loader's own ("zenTimeline").
//
// The loader writes "debug.txt" into the working folder, so the target works in a scratch folder of
// its own. The scenes of start-up and "Timeline1" are registered once: a timeline is large to make,
// and a script only ever overwrites its slots.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "base/failure_trap.h"
#include "sequencing/music_state.h"
#include "sequencing/scene.h"
#include "sequencing/script_loader.h"
#include "sequencing/timeline.h"

namespace {

void Quiet() {}

void RegisterScenes() {
  const char* names[] = {"Scene01", "Scene02", "Scene05", "Scene06", "Scene08", "Scene09", "Scene10", "Scene11"};
  std::int32_t slot = 1;
  for (const char* name : names) sceneTable[slot++] = std::make_unique<Scene>(name, Quiet, Quiet, Quiet);
  timelineTable[1] = std::make_unique<Timeline>("Timeline1", 99890);
}

void EnterScratchFolder() {
  char pattern[] = "/tmp/kelvane-fuzz-script-XXXXXX";
  const char* folder = mkdtemp(pattern);
  FUZZ_CHECK(folder != nullptr);
  FUZZ_CHECK(chdir(folder) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnterScratchFolder();
  RegisterScenes();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ResetMusicState();
  FailureTrap trap;
  try {
    LoadScriptText(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const FatalErrorRaised& error) {
    FUZZ_CHECK(error.module == "zenTimeline");
    FUZZ_CHECK(!error.message.empty());
  } catch (const IoErrorRaised&) {
    FUZZ_CHECK(!"the scratch folder's debug.txt could not be written");
  }
  FUZZ_CHECK(timelineTable.Get(1) != nullptr && timelineTable.Get(1)->size == 99890);
  return 0;
}
