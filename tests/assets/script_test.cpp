// The demo's "script.dlx" through the engine's script parser, with the scenes start-up registers: it
// runs, names the music the build put beside it, and leaves no millisecond of the music without a scene.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/assets/content_files.h"
#include "tests/sequencing/recording_scenes.h"

namespace {

TEST(DemoScript, RunsNamesTheMusicAndCoversEveryMillisecondOfIt) {
  CleanSequencing clean;
  const char* names[] = {"Scene01", "Scene02", "Scene05", "Scene06", "Scene08", "Scene09", "Scene10", "Scene11"};
  for (int slot = 1; slot <= 8; ++slot) sceneTable[slot] = RecordingScene<'s'>(names[slot - 1]);
  NewTimeline(1, 99890);
  MemoryTrace trace;
  const MaybeFailure failure = RunScriptFile(DemoFile("script.dlx"), trace);
  ASSERT_FALSE(failure) << failure->Text();
  ASSERT_TRUE(musicFile.has_value());
  EXPECT_TRUE(std::filesystem::exists(DemoFile(*musicFile))) << *musicFile;
  EXPECT_EQ(std::pair(musicLength, musicOn), std::pair(0, true)) << "the music's own length ends the demo";
  // The frame loop runs to 99890 ms (the music's 99990 ms less 100).
  for (std::int32_t t = 0; t <= 99890; ++t) {
    const Calls calls = FrameAt(t);
    ASSERT_EQ(std::count(calls.begin(), calls.end(), "render s " + std::to_string(t)), 1) << t;
  }
  EXPECT_EQ(FrameAt(0).front(), "init s 0") << "the first scene sets itself up from the first frame";
}

}  // namespace
