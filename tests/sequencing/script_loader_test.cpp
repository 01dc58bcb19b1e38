#include "sequencing/script_loader.h"

#include <gtest/gtest.h>

#include "base/failure_trap.h"
#include "tests/sequencing/script_test_support.h"

namespace {

using Calls = std::vector<std::string>;

class ScriptLoaderTest : public ::testing::Test {
 protected:
  ScriptLoaderTest() { RegisterStartupScenes(); }

  std::string Log() const { return ReadWholeFile(folder.path() / "debug.txt"); }

  // Loads `script` from memory and returns the message it failed with ("" when it loaded).
  std::string FaultOf(const std::string& script) {
    FailureTrap trap;
    try {
      LoadScriptText(script);
    } catch (const FatalErrorRaised& error) {
      EXPECT_EQ(error.module, "zenTimeline");
      return error.message;
    }
    return "";
  }

  CleanSequencing clean;
  TemporaryWorkingDirectory folder;
};

std::string Fault(const char* what) { return std::string("Something is wrong with the Script! (") + what + ")"; }

TEST_F(ScriptLoaderTest, ValidMusicLineWritesItsLogLinesAndTheMusicState) {
  ASSERT_EQ(FaultOf("@music STREAM music/track.ogg 1234 95000 1"), "");
  EXPECT_EQ(musicFile, "music/track.ogg");
  EXPECT_EQ(musicOffset, 1234);
  EXPECT_EQ(musicLength, 95000);
  EXPECT_TRUE(musicOn);
  EXPECT_EQ(Log(),
            "Command Line was found | 0\r\n"
            "Reading Module Type | 0\r\n"
            "Loading Module | 0\r\n"
            "music/track.ogg | 0\r\n"
            "Start Time | 1234\r\n"
            "End Time | 95000\r\n"
            "Module State | 1\r\n"
            "Script File Loaded | 0\r\n"
            "-------------------------- | 0\r\n");
}

TEST_F(ScriptLoaderTest, TheLastMusicLineDecidesAndOnlyStateOneMeansOn) {
  ASSERT_EQ(FaultOf("@music A first.wav 1 2 1\n@music B second.wav 0 0   2\n"), "");
  EXPECT_EQ(musicFile, "second.wav");
  EXPECT_EQ(musicOffset, 0);
  EXPECT_EQ(musicLength, 0);
  EXPECT_FALSE(musicOn);
}

TEST_F(ScriptLoaderTest, ValidSceneLineWritesItsLogLinesAndPlacesTheScene) {
  ASSERT_EQ(FaultOf("@scene Scene05 1 1000 1050 anything after the blank\n"), "");
  EXPECT_EQ(Log(),
            "Command Line was found | 0\r\n"
            "Loading Scene | 3\r\n"
            "Timeline ID | 1\r\n"
            "Start Time | 1000\r\n"
            "End Time | 1050\r\n"
            "Script File Loaded | 0\r\n"
            "-------------------------- | 0\r\n");
  EXPECT_EQ(FrameAt(1050), (Calls{"init 3 1050", "render 3 1050", "done 3 1050"}));
  EXPECT_EQ(FrameAt(1100), Calls{"init 3 1100"});
  EXPECT_EQ(FrameAt(1101), Calls{});
}

TEST_F(ScriptLoaderTest, TheEndTimeNeedsABlankAfterIt) {
  EXPECT_EQ(FaultOf("@scene Scene01 1 0 5000"), Fault("Could not read Scene End Time"));
  EXPECT_EQ(FrameAt(0), Calls{});

  ASSERT_EQ(FaultOf("@scene Scene01 1 0 5000 "), "");
  EXPECT_EQ(FrameAt(5000), (Calls{"render 1 5000", "done 1 5000"}));
  EXPECT_EQ(FrameAt(5001), Calls{});
}

TEST_F(ScriptLoaderTest, TheHighestSlotWithTheNameWins) {
  sceneTable[50] = std::make_unique<Scene>(RecordingScene<'x'>("Scene01"));
  ASSERT_EQ(FaultOf("@scene Scene01 1 0 10 "), "");
  EXPECT_NE(Log().find("Loading Scene | 50\r\n"), std::string::npos);
  EXPECT_EQ(FrameAt(5), (Calls{"init x 5", "render x 5", "done x 5"}));
}

TEST_F(ScriptLoaderTest, CommandWordsWithoutABlankAreEmptyCommands) {
  for (const char* line : {"@music", "@scene", "@fx", "@", "@scene\tScene01\t1\t0\t10\t"}) {
    EXPECT_EQ(FaultOf(line), Fault("Empty Command?")) << line;
  }
  EXPECT_EQ(Log().substr(0, 28), "Command Line was found | 0\r\n");
}

TEST_F(ScriptLoaderTest, OtherWordsAndCommentsDoNothing) {
  ASSERT_EQ(FaultOf("; a comment\r\n"
                    "scene Scene01 1 0 10 \r\n"
                    " @scene Scene01 1 0 10 \r\n"
                    "@MUSIC STREAM x.ogg a b c\r\n"
                    "@Scene Scene03 x y z \r\n"
                    "@fx anything at all\r\n"
                    "@ \r\n"
                    "\r\n"),
            "");
  EXPECT_FALSE(musicFile.has_value());
  EXPECT_EQ(FrameAt(5), Calls{});
  std::string expected;
  for (int i = 0; i < 4; ++i) expected += "Command Line was found | 0\r\n";
  expected += "Script File Loaded | 0\r\n-------------------------- | 0\r\n";
  EXPECT_EQ(Log(), expected);
}

TEST_F(ScriptLoaderTest, SceneFieldFailures) {
  EXPECT_EQ(FaultOf("@scene Scene03 1 0 10 "), Fault("Could not read out the Scene Name"));
  EXPECT_EQ(FaultOf("@scene scene01 1 0 10 "), Fault("Could not read out the Scene Name"));
  EXPECT_EQ(FaultOf("@scene  Scene01 1 0 10 "), Fault("Could not read out the Scene Name"));
  EXPECT_EQ(FaultOf("@scene Scene01"), Fault("Could not read out the Scene Name"));
  EXPECT_EQ(FaultOf("@scene Scene01  1 0 10 "), Fault("Could not read Timeline ID"));
  EXPECT_EQ(FaultOf("@scene Scene01 one 0 10 "), Fault("Could not read Timeline ID"));
  EXPECT_EQ(FaultOf("@scene Scene01 1 0.5 10 "), Fault("Could not read Scene Start Time"));
  EXPECT_EQ(FaultOf("@scene Scene01 1 "), Fault("Could not read Scene Start Time"));
  EXPECT_EQ(FaultOf("@scene Scene01 1 0 "), Fault("Could not read Scene End Time"));
  EXPECT_EQ(FaultOf("@scene Scene01 1 0 10x "), Fault("Could not read Scene End Time"));
  EXPECT_EQ(FaultOf("@scene Scene01 1 0 99999999999 "), Fault("Could not read Scene End Time"));
}

TEST_F(ScriptLoaderTest, MusicFieldFailures) {
  EXPECT_EQ(FaultOf("@music A f.ogg x 0 1"), Fault("Could not read Module Start Time"));
  EXPECT_EQ(FaultOf("@music A f.ogg 0 1"), Fault("Could not read Module End Time"));
  EXPECT_EQ(FaultOf("@music A f.ogg 0 -x 1"), Fault("Could not read Module End Time"));
  EXPECT_EQ(FaultOf("@music A f.ogg 0 0 1 "), Fault("Could not read Module State"));
  EXPECT_EQ(FaultOf("@music A f.ogg 0 0 "), Fault("Could not read Module State"));
  EXPECT_EQ(FaultOf("@music A f.ogg 0 0 on"), Fault("Could not read Module State"));
  EXPECT_EQ(FaultOf("@music A"), Fault("Could not read Module Start Time"));
}

TEST_F(ScriptLoaderTest, FailuresKeepTheLinesLoggedBeforeThem) {
  EXPECT_EQ(FaultOf("@scene Scene01 1 0 5000\n@scene Scene02 1 0 10 \n"), Fault("Could not read Scene End Time"));
  EXPECT_EQ(Log(),
            "Command Line was found | 0\r\n"
            "Loading Scene | 1\r\n"
            "Timeline ID | 1\r\n"
            "Start Time | 0\r\n");
}

TEST_F(ScriptLoaderTest, ATimelineIdMustNameATimeline) {
  for (const char* id : {"0", "2", "10", "11", "-1"}) {
    EXPECT_EQ(FaultOf(std::string("@scene Scene01 ") + id + " 0 10 "), Fault("Could not read Timeline ID")) << id;
  }
  timelineTable[10] = std::make_unique<Timeline>("Timeline10", 100);
  ASSERT_EQ(FaultOf("@scene Scene02 10 0 10 "), "");
  EXPECT_EQ(FrameAt(10), (Calls{"init 2 10", "render 2 10", "done 2 10"}));
}

TEST_F(ScriptLoaderTest, ASpanMustStayInsideTheTimeline) {
  const std::string outside = Fault("Scene span outside the timeline");
  EXPECT_EQ(FaultOf("@scene Scene01 1 -1 10 "), outside);
  EXPECT_EQ(FaultOf("@scene Scene01 1 599901 599950 "), outside);
  EXPECT_EQ(FaultOf("@scene Scene01 1 0 600001 "), outside);
  EXPECT_EQ(FaultOf("@scene Scene01 1 2147483647 2147483647 "), outside);
  ASSERT_EQ(FaultOf("@scene Scene01 1 599900 600000 "), "");
  EXPECT_EQ(FrameAt(600000), (Calls{"init 1 600000", "render 1 600000", "done 1 600000"}));
}

TEST_F(ScriptLoaderTest, AScriptOfMoreThan100000LinesIsRefusedBeforeItRuns) {
  EXPECT_EQ(FaultOf("@fx a\n" + std::string(99999, '\n')), "");
  std::remove("debug.txt");
  EXPECT_EQ(FaultOf("@fx a\n" + std::string(100000, '\n')), Fault("More than 100000 lines"));
  EXPECT_FALSE(std::filesystem::exists("debug.txt"));
}

TEST_F(ScriptLoaderTest, TheFileFormReadsTheFileLikeTheTextForm) {
  WriteWholeFile("script.dlx", "; Kelvane\r\n@music STREAM tune.ogg 0 0 1\r\n@scene Scene11 1 20 30 \r\n");
  LoadScript("script.dlx");
  EXPECT_EQ(musicFile, "tune.ogg");
  EXPECT_TRUE(musicOn);
  EXPECT_EQ(FrameAt(25), (Calls{"init 8 25", "render 8 25", "done 8 25"}));
  EXPECT_NE(Log().find("Loading Scene | 8\r\nTimeline ID | 1\r\nStart Time | 20\r\nEnd Time | 30\r\n"),
            std::string::npos);
}

TEST_F(ScriptLoaderTest, AnEmptyFileLoadsAndAMissingOneCannotBeLoaded) {
  WriteWholeFile("script.dlx", "");
  LoadScript("script.dlx");
  EXPECT_EQ(Log(), "Script File Loaded | 0\r\n-------------------------- | 0\r\n");

  FailureTrap trap;
  for (const char* name : {"missing.dlx", "."}) {
    try {
      LoadScript(name);
      ADD_FAILURE() << name << " was loaded";
    } catch (const FatalErrorRaised& error) {
      EXPECT_EQ(error.module, "zenTimeline");
      EXPECT_EQ(error.message, "Could not load Script file!");
    }
  }
}

TEST_F(ScriptLoaderTest, AReadErrorAfterOpeningIsTheRuntimeIoError) {
  // Opens like any file; its first read fails (nothing is mapped at address 0).
  FailureTrap trap;
  try {
    LoadScript("/proc/self/mem");
    FAIL() << "the read error went unnoticed";
  } catch (const IoErrorRaised& error) {
    EXPECT_EQ(error.code, 100);
    EXPECT_EQ(error.file, "/proc/self/mem");
  }
}

}  // namespace
