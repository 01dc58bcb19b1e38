// The script: its integers and lines, every command's trace and effect, every failure message, the
// file form, and any bytes at all.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "sequencing/internal/script_fields.h"
#include "sequencing/internal/script_lines.h"
#include "tests/sequencing/recording_scenes.h"

namespace {

TEST(ScriptInteger, AcceptsLeadingBlanksASignAndDigitsOnly) {
  const struct {
    const char* text;
    std::int32_t value;
  } good[] = {{"0", 0}, {"5000", 5000}, {"   42", 42}, {"+7", 7}, {"-7", -7}, {"0000123", 123},
              {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}};
  for (const auto& row : good) EXPECT_EQ(ParseScriptInteger(row.text), row.value) << row.text;
  for (const char* bad : {"", "   ", "-", "+", "1 ", "1x", "x1", "\t1", "1.0", "--1", "+-1", "2147483648",
                          "-2147483649", "99999999999999999999999", "0x10", " - 1"}) {
    EXPECT_FALSE(ParseScriptInteger(bad).has_value()) << '"' << bad << '"';
  }
}

// Hands out at most `chunk` bytes per read, so lines cross the reader's refills.
class ChunkedSource : public ScriptSource {
 public:
  ChunkedSource(std::string text, std::size_t chunk) : text_(std::move(text)), chunk_(chunk) {}
  std::size_t Read(char* destination, std::size_t size) override {
    const std::size_t count = std::min({size, chunk_, text_.size() - at_});
    text_.copy(destination, count, at_);
    at_ += count;
    return count;
  }

 private:
  std::string text_;
  std::size_t chunk_;
  std::size_t at_ = 0;
};

using Lines = std::vector<std::string>;

Lines LinesOf(const std::string& text, std::size_t chunk = 65536) {
  ChunkedSource source(text, chunk);
  ScriptLineReader reader(source);
  Lines lines;
  for (std::string line; reader.Next(line);) lines.push_back(line);
  return lines;
}

TEST(ScriptLines, LineEndsTheEndTestAnd255Characters) {
  const std::string kept(255, 'k');
  const struct {
    std::string text;
    Lines lines;
    std::size_t chunk;
  } cases[] = {
      {"", {""}, 65536},
      {"\n", {""}, 65536},
      {"a\r\nb\nc\r\n", {"a", "b", "c"}, 65536},
      {"a\n\nb", {"a", "", "b"}, 65536},
      {"a\rb\r\n", {"a\rb"}, 65536},
      {"x\r\n", {"x"}, 1},
      {kept + "\r\nnext", {kept, "next"}, 65536},
      {kept + "X\r\nnext", {kept, "next"}, 65536},
      {std::string(254, 'k') + "\r\n", {std::string(254, 'k')}, 65536},
      {kept + std::string(100000, 'z') + "\nnext", {kept, "next"}, 1000},
  };
  for (const auto& c : cases) EXPECT_EQ(LinesOf(c.text, c.chunk), c.lines) << c.text.substr(0, 20);
}

std::string Fault(const char* what) { return std::string("Something is wrong with the Script! (") + what + ")"; }

class ScriptTest : public ::testing::Test {
 protected:
  ScriptTest() {
    const char* names[] = {"Scene01", "Scene02", "Scene05", "Scene06", "Scene08", "Scene09", "Scene10", "Scene11"};
    sceneTable[1] = RecordingScene<'1'>(names[0]);
    sceneTable[2] = RecordingScene<'2'>(names[1]);
    sceneTable[3] = RecordingScene<'3'>(names[2]);
    sceneTable[8] = RecordingScene<'8'>(names[7]);
    for (int slot = 4; slot <= 7; ++slot) sceneTable[slot] = std::make_unique<Scene>(names[slot - 1], nullptr, nullptr, nullptr);
    NewTimeline(1, 99890);
  }

  // Runs `script` and returns the message it failed with ("" when it ran).
  std::string FaultOf(const std::string& script) {
    trace.text.clear();
    const MaybeFailure failure = RunScriptText(script, trace);
    if (!failure) return "";
    EXPECT_EQ(failure->module, "zenTimeline");
    return failure->message;
  }

  CleanSequencing clean;
  MemoryTrace trace;
};

constexpr const char* kLoaded = "Script File Loaded | 0\r\n-------------------------- | 0\r\n";

TEST_F(ScriptTest, AMusicLineTracesItsFieldsAndTheLastOneDecides) {
  ASSERT_EQ(FaultOf("@music STREAM music/track.ogg 1234 95000 1"), "");
  EXPECT_EQ(musicFile, "music/track.ogg");
  EXPECT_EQ(musicOffset, 1234);
  EXPECT_EQ(musicLength, 95000);
  EXPECT_TRUE(musicOn);
  EXPECT_EQ(trace.text, std::string("Command Line was found | 0\r\nReading Module Type | 0\r\nLoading Module | 0\r\n"
                                    "music/track.ogg | 0\r\nStart Time | 1234\r\nEnd Time | 95000\r\n"
                                    "Module State | 1\r\n") + kLoaded);
  ASSERT_EQ(FaultOf("@music A first.wav 1 2 1\n@music B second.wav 0 0   2\n"), "");
  EXPECT_EQ(musicFile, "second.wav");
  EXPECT_EQ(musicOffset, 0);
  EXPECT_FALSE(musicOn) << "only state 1 means on";
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
  ASSERT_EQ(FaultOf("@scene Scene11 1 599900 600000 "), "");
  EXPECT_EQ(FrameAt(600000), (Calls{"init 8 600000", "render 8 600000", "done 8 600000"}));
}

TEST_F(ScriptTest, CommentsOtherWordsAndFxDoNothing) {
  ASSERT_EQ(FaultOf("; a comment\r\nscene Scene01 1 0 10 \r\n @scene Scene01 1 0 10 \r\n"
                    "@MUSIC STREAM x.ogg a b c\r\n@Scene Scene03 x y z \r\n@fx anything at all\r\n@ \r\n\r\n"),
            "");
  EXPECT_FALSE(musicFile.has_value());
  EXPECT_EQ(FrameAt(5), Calls{});
  std::string expected;
  for (int i = 0; i < 4; ++i) expected += "Command Line was found | 0\r\n";
  EXPECT_EQ(trace.text, expected + kLoaded);
}

TEST_F(ScriptTest, EveryMalformedCommandFailsWithItsOwnMessage) {
  const struct {
    const char* line;
    const char* what;
  } cases[] = {
      {"@music", "Empty Command?"},
      {"@", "Empty Command?"},
      {"@scene\tScene01\t1\t0\t10\t", "Empty Command?"},
      {"@scene Scene03 1 0 10 ", "Could not read out the Scene Name"},
      {"@scene scene01 1 0 10 ", "Could not read out the Scene Name"},
      {"@scene  Scene01 1 0 10 ", "Could not read out the Scene Name"},
      {"@scene Scene01", "Could not read out the Scene Name"},
      {"@scene Scene01  1 0 10 ", "Could not read Timeline ID"},
      {"@scene Scene01 one 0 10 ", "Could not read Timeline ID"},
      {"@scene Scene01 0 0 10 ", "Could not read Timeline ID"},
      {"@scene Scene01 2 0 10 ", "Could not read Timeline ID"},
      {"@scene Scene01 11 0 10 ", "Could not read Timeline ID"},
      {"@scene Scene01 -1 0 10 ", "Could not read Timeline ID"},
      {"@scene Scene01 1 0.5 10 ", "Could not read Scene Start Time"},
      {"@scene Scene01 1 ", "Could not read Scene Start Time"},
      {"@scene Scene01 1 0 ", "Could not read Scene End Time"},
      {"@scene Scene01 1 0 5000", "Could not read Scene End Time"},  // no blank after the end time
      {"@scene Scene01 1 0 10x ", "Could not read Scene End Time"},
      {"@scene Scene01 1 0 99999999999 ", "Could not read Scene End Time"},
      {"@scene Scene01 1 -1 10 ", "Scene span outside the timeline"},
      {"@scene Scene01 1 599901 599950 ", "Scene span outside the timeline"},
      {"@scene Scene01 1 0 600001 ", "Scene span outside the timeline"},
      {"@scene Scene01 1 2147483647 2147483647 ", "Scene span outside the timeline"},
      {"@music A f.ogg x 0 1", "Could not read Module Start Time"},
      {"@music A", "Could not read Module Start Time"},
      {"@music A f.ogg 0 1", "Could not read Module End Time"},
      {"@music A f.ogg 0 -x 1", "Could not read Module End Time"},
      {"@music A f.ogg 0 0 1 ", "Could not read Module State"},
      {"@music A f.ogg 0 0 ", "Could not read Module State"},
      {"@music A f.ogg 0 0 on", "Could not read Module State"},
  };
  for (const auto& c : cases) EXPECT_EQ(FaultOf(c.line), Fault(c.what)) << c.line;
  EXPECT_EQ(FrameAt(0), Calls{}) << "no failed line placed anything";
}

TEST_F(ScriptTest, AFailureKeepsTheLinesTracedBeforeIt) {
  EXPECT_EQ(FaultOf("@scene Scene01 1 0 5000\n@scene Scene02 1 0 10 \n"), Fault("Could not read Scene End Time"));
  EXPECT_EQ(trace.text, "Command Line was found | 0\r\nLoading Scene | 1\r\nTimeline ID | 1\r\nStart Time | 0\r\n");
}

TEST_F(ScriptTest, AScriptOfMoreThan100000LinesIsRefusedBeforeItRuns) {
  EXPECT_EQ(FaultOf("@fx a\n" + std::string(99999, '\n')), "");
  EXPECT_EQ(FaultOf("@fx a\n" + std::string(100000, '\n')), Fault("More than 100000 lines"));
  EXPECT_EQ(trace.text, "");
}

TEST_F(ScriptTest, TheFileFormReadsAFileLikeTheTextForm) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / ("script-" + std::to_string(getpid()));
  std::ofstream(file, std::ios::binary) << "; Kelvane\r\n@music STREAM tune.ogg 0 0 1\r\n@scene Scene11 1 20 30 \r\n";
  EXPECT_FALSE(RunScriptFile(file.string(), trace));
  EXPECT_EQ(musicFile, "tune.ogg");
  EXPECT_EQ(FrameAt(25), (Calls{"init 8 25", "render 8 25", "done 8 25"}));
  std::ofstream(file, std::ios::binary | std::ios::trunc).flush();
  trace.text.clear();
  EXPECT_FALSE(RunScriptFile(file.string(), trace));
  EXPECT_EQ(trace.text, kLoaded) << "an empty file loads";
  std::filesystem::remove(file);
  for (const char* name : {"missing.dlx", "."}) {
    EXPECT_EQ(RunScriptFile(name, trace), Failure::Fatal("zenTimeline", "Could not load Script file!")) << name;
  }
  // Opens like any file; its first read fails (nothing is mapped at address 0).
  EXPECT_EQ(RunScriptFile("/proc/self/mem", trace), Failure::Io(IoErrorCode::ReadPastEnd, "/proc/self/mem"));
}

TEST_F(ScriptTest, AnyBytesRunOrFailWithTheScriptsOwnMessage) {
  std::mt19937 random{20261206};
  const std::vector<std::string> words = {"@scene", "@music", "@fx", "Scene01", "Scene11", "1", "0", "-1",
                                          "600000", "599900", "2147483647", "-2147483648", "99999999999",
                                          "",       " ",      "\t",  "\r",      "x.ogg",   "+",  "10"};
  std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255), fields(0, 7);
  int failures = 0;
  for (int round = 0; round < 600; ++round) {
    std::string text;
    if (round % 2) {
      text = words[pick(random) % 3];
      for (int n = fields(random); n > 0; --n) text += " " + words[pick(random)];
      if (round % 3 == 0) text += " ";
    } else {
      text.resize(std::size_t(byte(random)) * 8);
      for (char& c : text) c = static_cast<char>(byte(random));
      if (!text.empty()) text[0] = '@';
    }
    const std::string message = FaultOf(text + "\r\n");
    EXPECT_TRUE(message.empty() || message.starts_with("Something is wrong with the Script! (")) << message;
    failures += round % 2 && !message.empty();
  }
  EXPECT_GT(failures, 150) << "random command lines rarely make a valid command";
  for (std::int32_t time : {-1, 0, 600000, 600001}) FrameAt(time);
}

}  // namespace
