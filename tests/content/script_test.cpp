// The demo's "script.dlx" through the project's loader, with the scenes and the timeline that
// start-up registers.
#include <gtest/gtest.h>

#include <sstream>

#include "base/failure_trap.h"
#include "sequencing/script_loader.h"
#include "tests/content/content_files.h"
#include "tests/sequencing/script_test_support.h"

namespace {

struct Placement {
  int slot;        // scene table slot, as "Loading Scene" logs it
  char id;         // the recording scene's id
  int start, end;  // ms, end inclusive
};

constexpr Placement kRunningOrder[] = {{1, '1', 0, 22899},         {2, '2', 22900, 34449}, {3, '3', 34450, 44074},
                                       {4, '4', 44075, 51774},     {5, '5', 51775, 63324}, {6, '6', 63325, 74874},
                                       {7, '7', 74875, 84530},     {8, '8', 84531, 99999}};

class DemoScript : public ::testing::Test {
 protected:
  DemoScript() {
    RegisterStartupScenes();
    FailureTrap trap;
    try {
      LoadScript(DemoFile("script.dlx"));
    } catch (const FatalErrorRaised& error) {
      ADD_FAILURE() << error.module << ": " << error.message;
    }
  }
  std::string Log() const { return ReadWholeFile(folder.path() / "debug.txt"); }

  CleanSequencing clean;
  TemporaryWorkingDirectory folder;
};

std::string Line(const std::string& text, int number) { return text + " | " + std::to_string(number) + "\r\n"; }

TEST_F(DemoScript, NamesTheMusicWithTheStreamsOwnLength) {
  ASSERT_TRUE(musicFile.has_value());
  EXPECT_EQ(*musicFile, "kelvane.ogg");
  EXPECT_EQ(musicOffset, 0);
  EXPECT_EQ(musicLength, 0);
  EXPECT_TRUE(musicOn);
  EXPECT_TRUE(std::filesystem::exists(DemoFile(*musicFile))) << "the build puts the music beside the script";
}

TEST_F(DemoScript, TraceListsTheEightScenesInOrder) {
  const std::string log = Log();
  std::size_t at = 0;
  for (const Placement& p : kRunningOrder) {
    const std::string block = Line("Loading Scene", p.slot) + Line("Timeline ID", 1) + Line("Start Time", p.start) +
                              Line("End Time", p.end);
    const std::size_t found = log.find(block, at);
    ASSERT_NE(found, std::string::npos) << "scene slot " << p.slot << " after offset " << at << " in\n" << log;
    at = found + block.size();
  }
  EXPECT_NE(log.find(Line("Script File Loaded", 0), at), std::string::npos);
}

TEST_F(DemoScript, EveryMillisecondOfTheMusicRendersItsScene) {
  for (const Placement& p : kRunningOrder) {
    SCOPED_TRACE(p.slot);
    for (int t : {p.start, p.start + 101, (p.start + p.end) / 2, std::min(p.end, 99890)}) {
      const std::vector<std::string> calls = FrameAt(t);
      const std::string render = std::string("render ") + p.id + " " + std::to_string(t);
      EXPECT_NE(std::find(calls.begin(), calls.end(), render), calls.end()) << t;
    }
  }
  const std::vector<std::string> first = FrameAt(0);
  EXPECT_EQ(first.front(), "init 1 0") << "Scene01 sets itself up from the first frame";
}

TEST_F(DemoScript, ScenesChangeOnBarLinesAndTheLastStartsWithTheFastSection) {
  for (std::size_t i = 1; i + 1 < std::size(kRunningOrder); ++i)
    EXPECT_EQ((kRunningOrder[i].start + 200) % 1925, 0) << kRunningOrder[i].start;
  for (std::size_t i = 0; i + 1 < std::size(kRunningOrder); ++i)
    EXPECT_EQ(kRunningOrder[i].end + 1, kRunningOrder[i + 1].start);
  EXPECT_EQ(kRunningOrder[7].start, 84531);
  // The frame loop ends once the time passes 99990 - 100: the last frames still find Scene11.
  EXPECT_GE(kRunningOrder[7].end, 99890);
}

}  // namespace
