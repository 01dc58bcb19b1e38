// "script.dlx" missing, empty, too long, or with one malformed command after the real running order:
// each malformed command ends the demo with its own report, after the lines before it were read. One
// line for each message; the script's own tests hold every way to each message.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/runtime/faults/fault_run.h"

namespace {

FaultOutcome ScriptFault(const std::string& problem) {
  return FatalReport("zenTimeline", "Something is wrong with the Script! (" + problem + ")");
}

class ScriptFaults : public OnContentCopy {
 protected:
  std::string Script() const { return content.File("script.dlx"); }
  std::string Trace() const { return ReadWholeFile(content.File("debug.txt")); }
};

TEST_F(ScriptFaults, MissingCannotBeLoaded) {
  std::filesystem::remove(Script());
  ExpectOutcome(FatalReport("zenTimeline", "Could not load Script file!"));
}

TEST_F(ScriptFaults, EmptyPlacesNothingAndEndsAfterOneFrame) {
  WriteWholeFile(Script(), "");
  ExpectOutcome(kCleanRun, {});
  EXPECT_NE(Trace().find("Script File Loaded"), std::string::npos);
}

TEST_F(ScriptFaults, LongerThanTheLineLimitIsRefusedBeforeAnyLineRuns) {
  std::string lines;
  for (int i = 0; i <= 100000; ++i) lines += "@fx\r\n";
  WriteWholeFile(Script(), lines);
  ExpectOutcome(ScriptFault("More than 100000 lines"));
  EXPECT_EQ(Trace().find("Command Line was found"), std::string::npos);
}

// A name, the line and the problem the report gives inside "Something is wrong with the Script! (...)".
struct BadLine {
  const char *name, *line, *problem;
};

const BadLine kBadLines[] = {
    {"SceneAlone", "@scene", "Empty Command?"},
    {"UnknownScene", "@scene Scene03 1 0 1000 ", "Could not read out the Scene Name"},
    {"NoSuchTimeline", "@scene Scene01 2 0 1000 ", "Could not read Timeline ID"},
    {"SceneStartNotANumber", "@scene Scene01 1 x 1000 ", "Could not read Scene Start Time"},
    {"SceneEndWithoutBlank", "@scene Scene01 1 0 5000", "Could not read Scene End Time"},
    {"SpanPastTheTimeline", "@scene Scene01 1 0 700000 ", "Scene span outside the timeline"},
    {"MusicStartNotANumber", "@music OGG kelvane.ogg x 0 1", "Could not read Module Start Time"},
    {"MusicEndNotANumber", "@music OGG kelvane.ogg 0 1e3 1", "Could not read Module End Time"},
    {"MusicStateNotANumber", "@music OGG kelvane.ogg 0 0 on", "Could not read Module State"},
};

class MalformedCommand : public ScriptFaults, public ::testing::WithParamInterface<BadLine> {};

TEST_P(MalformedCommand, EndsTheDemoWithItsReport) {
  WriteWholeFile(Script(), ReadWholeFile(Script()) + GetParam().line + "\r\n");
  ExpectOutcome(ScriptFault(GetParam().problem));
  // The good lines before it were read and logged; the scenes of the real order were placed.
  EXPECT_NE(Trace().find("Start Time | 84531"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EachMessage, MalformedCommand, ::testing::ValuesIn(kBadLines),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
