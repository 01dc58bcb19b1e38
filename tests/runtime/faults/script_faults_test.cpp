// "script.dlx" missing, empty, too long, or with one malformed command after the real running order:
// each malformed command ends the demo with its own report, after the lines before it were read.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/runtime/faults/fault_run.h"

namespace {

struct BadLine {
  const char* name;
  const char* line;
  const char* problem;  // inside "Something is wrong with the Script! (...)"
};

const BadLine kBadLines[] = {
    {"SceneAlone", "@scene", "Empty Command?"},
    {"MusicAlone", "@music", "Empty Command?"},
    {"UnknownScene", "@scene Scene03 1 0 1000 ", "Could not read out the Scene Name"},
    {"EmptySceneName", "@scene  Scene01 1 0 1000 ", "Could not read out the Scene Name"},
    {"EmptyTimelineId", "@scene Scene01  1 0 1000 ", "Could not read Timeline ID"},
    {"NoSuchTimeline", "@scene Scene01 2 0 1000 ", "Could not read Timeline ID"},
    {"SceneStartNotANumber", "@scene Scene01 1 x 1000 ", "Could not read Scene Start Time"},
    {"SceneEndWithoutBlank", "@scene Scene01 1 0 5000", "Could not read Scene End Time"},
    {"SceneEndOutOfRange", "@scene Scene01 1 0 2147483648 ", "Could not read Scene End Time"},
    {"SpanPastTheTimeline", "@scene Scene01 1 0 700000 ", "Scene span outside the timeline"},
    {"MusicStartNotANumber", "@music OGG kelvane.ogg x 0 1", "Could not read Module Start Time"},
    {"MusicEndNotANumber", "@music OGG kelvane.ogg 0 1e3 1", "Could not read Module End Time"},
    {"MusicStateWithBlank", "@music OGG kelvane.ogg 0 0 1 ", "Could not read Module State"},
    {"MusicStateNotANumber", "@music OGG kelvane.ogg 0 0 on", "Could not read Module State"},
};

FaultOutcome ScriptFault(const std::string& problem) {
  return FatalReport("zenTimeline", "Something is wrong with the Script! (" + problem + ")");
}

class ScriptFaults : public OnContentCopy {
 protected:
  std::string Script() const { return content->File("script.dlx"); }
};

class MalformedCommand : public ::testing::TestWithParam<BadLine> {};

}  // namespace

TEST_F(ScriptFaults, MissingCannotBeLoaded) {
  std::filesystem::remove(Script());
  ExpectOutcome(*content, FatalReport("zenTimeline", "Could not load Script file!"));
}

TEST_F(ScriptFaults, EmptyPlacesNothingAndEndsAfterOneFrame) {
  WriteWholeFile(Script(), "");
  ExpectOutcome(*content, CleanRun(), {});
  EXPECT_NE(ReadWholeFile(content->File("debug.txt")).find("Script File Loaded"), std::string::npos);
}

TEST_F(ScriptFaults, LongerThanTheLineLimitIsRefusedBeforeAnyLineRuns) {
  std::string lines;
  for (int i = 0; i <= 100000; ++i) lines += "@fx\r\n";
  WriteWholeFile(Script(), lines);
  ExpectOutcome(*content, ScriptFault("More than 100000 lines"));
  EXPECT_EQ(ReadWholeFile(content->File("debug.txt")).find("Command Line was found"), std::string::npos);
}

TEST_P(MalformedCommand, EndsTheDemoWithItsReport) {
  if (!ContentIsBuilt()) GTEST_SKIP() << "no demo content built";
  const ContentCopy content;
  const std::string script = content.File("script.dlx");
  WriteWholeFile(script, ReadWholeFile(script) + GetParam().line + "\r\n");
  ExpectOutcome(content, ScriptFault(GetParam().problem));
  // The good lines before it were read and logged; the scenes of the real order were placed.
  EXPECT_NE(ReadWholeFile(content.File("debug.txt")).find("Start Time | 84531"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EachMessage, MalformedCommand, ::testing::ValuesIn(kBadLines),
                         [](const auto& info) { return std::string(info.param.name); });
