// One row of the fault matrix: a fresh copy of the built content, damaged in one way, the demo
// started in it, and what it must leave: its exit code, its standard error, "error.txt", and every
// other file of the folder exactly as it was.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/subprocess.h"

struct FaultOutcome {
  int exitCode = 0;
  std::string standardError;          // the whole text, unless `errorMayFollowNoise`
  std::optional<std::string> report;  // the bytes of "error.txt"; nullopt: no such file
  bool errorMayFollowNoise = false;   // libraries may print first (ALSA does); then the text ends it
};

// The fatal error report: exit 1, the four lines on standard error and, with CR LF, in "error.txt".
inline FaultOutcome FatalReport(const std::string& module, const std::string& message) {
  const auto lines = [&](const std::string& nl) {
    return "Sorry, but the following module had something to say:" + nl + nl + module + nl + message + nl;
  };
  return {1, lines("\n"), lines("\r\n")};
}

// The runtime's I/O error: its code, one line on standard error, no report.
inline FaultOutcome IoFailure(int code, const std::string& reason, const std::string& file) {
  return {code, "I/O error " + std::to_string(code) + " (" + reason + "): " + file + "\n", std::nullopt};
}

// A run that ends normally and says nothing.
inline const FaultOutcome kCleanRun{};

inline const std::filesystem::path kContent = KELVANE_DEMO_DIR;

// The built content's pictures as "data/....hwl", sorted; none when it was not built.
inline std::vector<std::string> ContentPictures() {
  std::vector<std::string> pictures;
  if (!std::filesystem::exists(kContent / "script.dlx") || !std::filesystem::exists(kContent / "data")) return {};
  for (const auto& entry : std::filesystem::directory_iterator(kContent / "data"))
    pictures.push_back("data/" + entry.path().filename().string());
  std::sort(pictures.begin(), pictures.end());
  return pictures;
}

// Every entry of the folder with a hash of its bytes (folders as 0), apart from the two files the
// demo is allowed to write.
inline std::map<std::string, std::size_t> Snapshot(const std::string& folder) {
  std::map<std::string, std::size_t> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = std::filesystem::relative(entry.path(), folder).string();
    if ((name == "debug.txt" && !entry.is_directory()) || name == "error.txt") continue;
    entries[name] = entry.is_directory() ? 0 : std::hash<std::string>{}(ReadWholeFile(entry.path().string()));
  }
  return entries;
}

// Each test gets a fresh copy of the content ("script.dlx", "data/", the music), or is skipped when
// the content was not built.
class OnContentCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ContentPictures().empty()) GTEST_SKIP() << "no demo content built";
    for (const auto& entry : std::filesystem::directory_iterator(kContent)) {
      const std::string name = entry.path().filename().string();
      if (name == "data" || name == "script.dlx" || entry.path().extension() == ".ogg")
        std::filesystem::copy(entry.path(), content.File(name), std::filesystem::copy_options::recursive);
    }
  }

  // Runs `program` (the headless demo unless given) in the copy and checks the outcome.
  void ExpectOutcome(const FaultOutcome& expected, const std::vector<std::string>& arguments = {"--frames", "3"},
                     std::map<std::string, std::string> environment = {}, const std::string& program = HEADLESS_DEMO) {
    const std::map<std::string, std::size_t> before = Snapshot(content.path());
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    environment.insert({{"DISPLAY", ""}, {"SDL_VIDEODRIVER", "offscreen"}});
    const ProcessResult run = RunProcess(argv, content.path(), environment);
    EXPECT_EQ(run.exitCode, expected.exitCode) << run.err;
    if (expected.errorMayFollowNoise) EXPECT_TRUE(run.err.ends_with(expected.standardError)) << run.err;
    else EXPECT_EQ(run.err, expected.standardError);
    const std::string report = content.File("error.txt");
    if (expected.report) EXPECT_EQ(ReadWholeFile(report), *expected.report);
    else EXPECT_FALSE(FileExists(report)) << ReadWholeFile(report);
    EXPECT_EQ(Snapshot(content.path()), before) << "the run changed what it should only read";
  }

  TempFolder content;
};
