// One row of the fault matrix: a fresh copy of the built content, damaged in one way, the demo
// started in it, and what it must leave: its exit code, its standard error, "error.txt", and every
// other file of the folder exactly as it was.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/subprocess.h"

struct FaultOutcome {
  int exitCode = 0;
  std::string standardError;         // the whole text, unless `errorMayFollowNoise`
  std::optional<std::string> report;  // the bytes of "error.txt"; nullopt: no such file
  bool errorMayFollowNoise = false;   // libraries may print first (ALSA does); then the text ends it
};

// The fatal error report: exit 1, the four lines on standard error and, with CR LF, in "error.txt".
FaultOutcome FatalReport(const std::string& module, const std::string& message);
// The runtime's I/O error: its code, one line on standard error, no report.
FaultOutcome IoFailure(int code, const std::string& reason, const std::string& file);
// A run that ends normally and says nothing.
FaultOutcome CleanRun();

class ContentCopy {
 public:
  ContentCopy();  // the demo's content ("script.dlx", "data/", the music) copied into a new folder
  const TempFolder& folder() const { return folder_; }
  std::string File(const std::string& name) const { return folder_.File(name); }

 private:
  TempFolder folder_;
};

bool ContentIsBuilt();
// The built content's pictures as "data/....hwl", sorted.
std::vector<std::string> ContentPictures();

// Tests of this kind get a fresh copy each, or are skipped when the content was not built.
class OnContentCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ContentIsBuilt()) GTEST_SKIP() << "no demo content built";
    content.emplace();
  }
  std::optional<ContentCopy> content;
};

inline const std::vector<std::string> kQuickRun = {"--frames", "3"};

// Runs `program` (the headless demo unless given) in the copy and checks the outcome with gtest.
void ExpectOutcome(const ContentCopy& content, const FaultOutcome& expected,
                   const std::vector<std::string>& arguments = kQuickRun,
                   const std::map<std::string, std::string>& environment = {},
                   const std::string& program = HEADLESS_DEMO);
