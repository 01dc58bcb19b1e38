// The script: its integers and lines, every command's trace and effect, every failure message and the
// file form. Any bytes at all: the fuzz target's replays (tests/fuzz_regressions).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "sequencing/internal/script_fields.h"
#include "sequencing/internal/script_lines.h"
#include "tests/sequencing/recording_scenes.h"

namespace {

TEST(ScriptInteger, AcceptsLeadingBlanksASignAndDigitsOnly) {
  const std::pair<const char*, std::int32_t> good[] = {{"0", 0},     {"5000", 5000}, {"   42", 42},
                                                       {"+7", 7},    {"-7", -7},     {"0000123", 123},
                                                       {"2147483647", 2147483647},   {"-2147483648", -2147483647 - 1}};
  for (const auto& [text, value] : good) EXPECT_EQ(ParseScriptInteger(text), value) << text;
  for (const char* bad : {"", "   ", "-", "+", "1 ", "1x", "x1", "\t1", "1.0", "--1", "+-1", "2147483648",
                          "-2147483649", "99999999999999999999999", "0x10", " - 1"}) {
    EXPECT_FALSE(ParseScriptInteger(bad).has_value()) << '"' << bad << '"';
  }
}

// Hands out at most `chunk` bytes per read, so lines cross the reader's refills.
struct ChunkedSource : ScriptSource {
  ChunkedSource(std::string text_, std::size_t chunk_) : text(std::move(text_)), chunk(chunk_) {}
  std::size_t Read(char* destination, std::size_t size) override {
    const std::size_t count = text.copy(destination, std::min(size, chunk), at);
    at += count;
    return count;
  }
  std::string text;
  std::size_t chunk, at = 0;
};

using Lines = std::vector<std::string>;

TEST(ScriptLines, LineEndsTheEndTestAnd255Characters) {
  const std::string kept(255, 'k');
  const struct {
    std::string text;
    Lines lines;
    std::size_t chunk = 65536;
  } cases[] = {
      {"", {""}},
      {"\n", {""}},
      {"a\r\nb\nc\r\n", {"a", "b", "c"}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\rb\r\n", {"a\rb"}},
      {"x\r\n", {"x"}, 1},
      {kept + "\r\nnext", {kept, "next"}},
      {kept + "X\r\nnext", {kept, "next"}},
      {std::string(254, 'k') + "\r\n", {std::string(254, 'k')}},
      {kept + std::string(100000, 'z') + "\nnext", {kept, "next"}, 1000},
  };
  for (const auto& c : cases) {
    ChunkedSource source(c.text, c.chunk);
    ScriptLineReader reader(source);
    Lines lines;
    for (std::string line; reader.Next(line);) lines.push_back(line);
    EXPECT_EQ(lines, c.lines) << c.text.substr(0, 20);
  }
}

std::string Fault(const char* what) { return std::string("Something is wrong with the Script! (") + what + ")"; }

using ScriptTest = SequencingTest;

constexpr const char* kLoaded = "Script File Loaded | 0\r\n-------------------------- | 0\r\n";

TEST_F(ScriptTest, AMusicLineTracesItsFieldsAndTheLastOneDecides) {
  ASSERT_EQ(FaultOf("@music STREAM track.ogg 1234 95000 1"), "");
  EXPECT_EQ(std::tuple(*musicFile, musicOffset, musicLength, musicOn), std::tuple("track.ogg", 1234, 95000, true));
  EXPECT_EQ(trace.text, std::string("Command Line was found | 0\r\nReading Module Type | 0\r\nLoading Module | 0\r\n"
                                    "track.ogg | 0\r\nStart Time | 1234\r\nEnd Time | 95000\r\n"
                                    "Module State | 1\r\n") + kLoaded);
  ASSERT_EQ(FaultOf("@music A first.wav 1 2 1\n@music B second.wav 0 0   2\n"), "");
  EXPECT_EQ(std::tuple(*musicFile, musicOffset, musicOn), std::tuple("second.wav", 0, false)) << "only state 1 is on";
}

TEST_F(ScriptTest, ASceneLineTracesItsFieldsAndPlacesTheHighestSlotOfThatName) {
  ASSERT_EQ(FaultOf("@scene Scene05 1 1000 1050 anything after the blank\n"), "");
  EXPECT_EQ(trace.text, std::string("Command Line was found | 0\r\nLoading Scene | 3\r\nTimeline ID | 1\r\n"
                                    "Start Time | 1000\r\nEnd Time | 1050\r\n") + kLoaded);
  EXPECT_EQ(FrameAt(1050), (Calls{"init 3 1050", "render 3 1050", "done 3 1050"}));
  sceneTable[50] = RecordingScene<'x'>("Scene01");
  ASSERT_EQ(FaultOf("@scene Scene01 1 0 10 "), "");
  EXPECT_NE(trace.text.find("Loading Scene | 50\r\n"), std::string::npos);
  EXPECT_EQ(FrameAt(5), (Calls{"init x 5", "render x 5", "done x 5"}));
  NewTimeline(10, 100);
  ASSERT_EQ(FaultOf("@scene Scene02 10 0 10 "), "");
  EXPECT_EQ(FrameAt(10), (Calls{"init x 10", "render x 10", "init 2 10", "render 2 10", "done x 10", "done 2 10"}));
  EXPECT_EQ(FaultOf("@scene Scene11 1 599900 600000 "), "") << "the last span that fits";
}

TEST_F(ScriptTest, CommentsOtherWordsAndFxDoNothing) {
  ASSERT_EQ(FaultOf("; a comment\r\nscene Scene01 1 0 10 \r\n @scene Scene01 1 0 10 \r\n"
                    "@MUSIC STREAM x.ogg a b c\r\n@Scene Scene03 x y z \r\n@fx anything at all\r\n@ \r\n\r\n"),
            "");
  EXPECT_FALSE(musicFile.has_value());
  EXPECT_EQ(FrameAt(5), Calls{});
  const std::string found = "Command Line was found | 0\r\n";
  EXPECT_EQ(trace.text, found + found + found + found + kLoaded);
}

TEST_F(ScriptTest, EveryMalformedCommandFailsWithItsOwnMessage) {
  const std::pair<const char*, std::vector<const char*>> cases[] = {
      {"Empty Command?", {"@music", "@", "@scene\tScene01\t1\t0\t10\t"}},
      {"Could not read out the Scene Name",
       {"@scene Scene03 1 0 10 ", "@scene scene01 1 0 10 ", "@scene  Scene01 1 0 10 ", "@scene Scene01"}},
      {"Could not read Timeline ID",
       {"@scene Scene01  1 0 10 ", "@scene Scene01 one 0 10 ", "@scene Scene01 0 0 10 ", "@scene Scene01 2 0 10 ",
        "@scene Scene01 11 0 10 ", "@scene Scene01 -1 0 10 "}},
      {"Could not read Scene Start Time", {"@scene Scene01 1 0.5 10 ", "@scene Scene01 1 "}},
      {"Could not read Scene End Time",  // the second without a blank after the end time
       {"@scene Scene01 1 0 ", "@scene Scene01 1 0 5000", "@scene Scene01 1 0 10x ",
        "@scene Scene01 1 0 99999999999 "}},
      {"Scene span outside the timeline",
       {"@scene Scene01 1 -1 10 ", "@scene Scene01 1 599901 599950 ", "@scene Scene01 1 0 600001 ",
        "@scene Scene01 1 2147483647 2147483647 "}},
      {"Could not read Module Start Time", {"@music A f.ogg x 0 1", "@music A"}},
      {"Could not read Module End Time", {"@music A f.ogg 0 1", "@music A f.ogg 0 -x 1"}},
      {"Could not read Module State", {"@music A f.ogg 0 0 1 ", "@music A f.ogg 0 0 ", "@music A f.ogg 0 0 on"}},
  };
  for (const auto& [what, lines] : cases) {
    for (const char* line : lines) EXPECT_EQ(FaultOf(line), Fault(what)) << line;
  }
  EXPECT_EQ(FaultOf("@scene Scene01 1 0 5000\n@scene Scene02 1 0 10 \n"), Fault("Could not read Scene End Time"));
  EXPECT_EQ(trace.text, "Command Line was found | 0\r\nLoading Scene | 1\r\nTimeline ID | 1\r\nStart Time | 0\r\n")
      << "the lines traced before the failure stay, the lines after it never run";
  EXPECT_EQ(FrameAt(0), Calls{}) << "no failed line placed anything";
}

TEST_F(ScriptTest, AScriptOfMoreThan100000LinesIsRefusedBeforeItRuns) {
  EXPECT_EQ(FaultOf("@fx a\n" + std::string(99999, '\n')), "");
  EXPECT_EQ(FaultOf("@fx a\n" + std::string(100000, '\n')), Fault("More than 100000 lines"));
  EXPECT_EQ(trace.text, "");
}

// A missing file and an empty one: the fault matrix runs them.
TEST_F(ScriptTest, TheFileFormReadsAFileLikeTheTextForm) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / ("script-" + std::to_string(getpid()));
  std::ofstream(file, std::ios::binary) << "; Kelvane\r\n@music STREAM tune.ogg 0 0 1\r\n@scene Scene11 1 20 30 \r\n";
  EXPECT_FALSE(RunScriptFile(file.string(), trace));
  std::filesystem::remove(file);
  EXPECT_EQ(musicFile, "tune.ogg");
  EXPECT_EQ(FrameAt(25), (Calls{"init 8 25", "render 8 25", "done 8 25"}));
  EXPECT_EQ(RunScriptFile(".", trace), Failure::Fatal("zenTimeline", "Could not load Script file!")) << "a folder";
  // Opens like any file; its first read fails (nothing is mapped at address 0).
  EXPECT_EQ(RunScriptFile("/proc/self/mem", trace), Failure::Io(IoErrorCode::ReadPastEnd, "/proc/self/mem"));
}

}  // namespace
