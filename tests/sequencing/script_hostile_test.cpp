// Any bytes at all reach the loader safely: it either loads them or fails with one of its messages.
#include <gtest/gtest.h>

#include <random>

#include "base/failure_trap.h"
#include "sequencing/script_loader.h"
#include "tests/sequencing/script_test_support.h"

namespace {

class HostileScriptTest : public ::testing::Test {
 protected:
  HostileScriptTest() { RegisterStartupScenes(); }

  // Loads `text` and reports whether it failed; any failure other than the loader's own escapes.
  static bool Failed(const std::string& text) {
    FailureTrap trap;
    try {
      LoadScriptText(text);
      return false;
    } catch (const FatalErrorRaised& error) {
      EXPECT_EQ(error.module, "zenTimeline");
      EXPECT_TRUE(error.message.starts_with("Something is wrong with the Script! (")) << error.message;
      return true;
    }
  }

  CleanSequencing clean;
  TemporaryWorkingDirectory folder;
  std::mt19937 random{20261206};
};

TEST_F(HostileScriptTest, RandomBytes) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(0, 2000);
  for (int round = 0; round < 300; ++round) {
    std::string text(static_cast<std::size_t>(length(random)), '\0');
    for (char& c : text) c = static_cast<char>(byte(random));
    if (round % 2 == 0 && !text.empty()) text[0] = '@';
    Failed(text);
  }
}

TEST_F(HostileScriptTest, RandomCommandLinesMostlyFail) {
  const std::vector<std::string> words = {"@scene", "@music", "@fx", "Scene01", "Scene11", "1", "0", "-1",
                                          "600000", "599900", "2147483647", "-2147483648", "99999999999",
                                          "",       " ",      "\t",  "\r",      "x.ogg",   "+",  "10"};
  std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
  std::uniform_int_distribution<int> fields(0, 7);
  int failures = 0;
  for (int round = 0; round < 500; ++round) {
    std::string line = words[pick(random) % 3];
    for (int n = fields(random); n > 0; --n) line += " " + words[pick(random)];
    if (round % 3 == 0) line += " ";
    failures += Failed(line + "\r\n") ? 1 : 0;
  }
  // Random fields rarely make a valid command; the loader must have noticed most of them.
  EXPECT_GT(failures, 250);
  for (std::int32_t time : {-1, 0, 600000, 600001}) FrameAt(time);
}

}  // namespace
