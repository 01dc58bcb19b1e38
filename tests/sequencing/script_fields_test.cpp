#include "sequencing/script_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sequencing/script_lines.h"

namespace {

TEST(ScriptInteger, AcceptsLeadingBlanksASignAndDigitsOnly) {
  EXPECT_EQ(ParseScriptInteger("0"), 0);
  EXPECT_EQ(ParseScriptInteger("5000"), 5000);
  EXPECT_EQ(ParseScriptInteger("   42"), 42);
  EXPECT_EQ(ParseScriptInteger("+7"), 7);
  EXPECT_EQ(ParseScriptInteger("-7"), -7);
  EXPECT_EQ(ParseScriptInteger("0000123"), 123);
  EXPECT_EQ(ParseScriptInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseScriptInteger("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", "   ", "-", "+", "1 ", "1x", "x1", "\t1", "1.0", "--1", "+-1", "2147483648",
                          "-2147483649", "99999999999999999999999", "0x10", " - 1"}) {
    EXPECT_FALSE(ParseScriptInteger(bad).has_value()) << '"' << bad << '"';
  }
}

class StringSource : public ScriptSource {
 public:
  // Hands out at most `chunk` bytes per read, so lines cross the reader's refills.
  StringSource(std::string text, std::size_t chunk) : text_(std::move(text)), chunk_(chunk) {}
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

std::vector<std::string> LinesOf(const std::string& text, std::size_t chunk = 65536) {
  StringSource source(text, chunk);
  ScriptLineReader reader(source);
  std::vector<std::string> lines;
  for (std::string line; reader.Next(line);) lines.push_back(line);
  return lines;
}

using Lines = std::vector<std::string>;

TEST(ScriptLines, CrLfAndLfEndLinesAndTheEndIsTestedAfterEachLine) {
  EXPECT_EQ(LinesOf(""), Lines{""});
  EXPECT_EQ(LinesOf("\n"), Lines{""});
  EXPECT_EQ(LinesOf("a"), Lines{"a"});
  EXPECT_EQ(LinesOf("a\r\nb\nc\r\n"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(LinesOf("a\n\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(LinesOf("a\rb\r\n"), Lines{"a\rb"});
  EXPECT_EQ(LinesOf("x\r\n", 1), Lines{"x"});
}

TEST(ScriptLines, LinesKeep255CharactersAndSkipTheRest) {
  const std::string kept(255, 'k');
  EXPECT_EQ(LinesOf(kept + "\r\nnext"), (Lines{kept, "next"}));
  EXPECT_EQ(LinesOf(kept + "X\r\nnext"), (Lines{kept, "next"}));
  EXPECT_EQ(LinesOf(std::string(254, 'k') + "\r\n"), Lines{std::string(254, 'k')});
  EXPECT_EQ(LinesOf(kept + std::string(100000, 'z') + "\nnext", 1000), (Lines{kept, "next"}));
}

}  // namespace
