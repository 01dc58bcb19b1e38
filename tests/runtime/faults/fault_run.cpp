#include "tests/runtime/faults/fault_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const fs::path kContent = KELVANE_DEMO_DIR;

// Every entry of the folder with its bytes (folders as "<folder>"), apart from the two files the
// demo is allowed to write.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> entries;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    if (name == "debug.txt" && !entry.is_directory()) continue;
    if (name == "error.txt") continue;
    entries[name] = entry.is_directory() ? "<folder>" : ReadWholeFile(entry.path().string());
  }
  return entries;
}

std::string Lines(const std::string& module, const std::string& message, const char* newline) {
  return "Sorry, but the following module had something to say:" + std::string(newline) + newline +
         module + newline + message + newline;
}

// Names of the entries that appeared, went or changed.
std::vector<std::string> Changes(const std::map<std::string, std::string>& before,
                                 const std::map<std::string, std::string>& after) {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : before)
    if (!after.contains(name) || after.at(name) != bytes) names.push_back(name);
  for (const auto& [name, bytes] : after)
    if (!before.contains(name)) names.push_back(name);
  return names;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

FaultOutcome FatalReport(const std::string& module, const std::string& message) {
  return {1, Lines(module, message, "\n"), Lines(module, message, "\r\n")};
}

FaultOutcome IoFailure(int code, const std::string& reason, const std::string& file) {
  return {code, "I/O error " + std::to_string(code) + " (" + reason + "): " + file + "\n", std::nullopt};
}

FaultOutcome CleanRun() { return {0, "", std::nullopt}; }

bool ContentIsBuilt() { return fs::exists(kContent / "script.dlx") && fs::exists(kContent / "data"); }

ContentCopy::ContentCopy() {
  for (const fs::directory_entry& entry : fs::directory_iterator(kContent)) {
    const std::string name = entry.path().filename().string();
    if (name == "data" || name == "script.dlx" || entry.path().extension() == ".ogg")
      fs::copy(entry.path(), folder_.File(name), fs::copy_options::recursive);
  }
}

std::vector<std::string> ContentPictures() {
  std::vector<std::string> pictures;
  for (const fs::directory_entry& entry : fs::directory_iterator(kContent / "data"))
    pictures.push_back("data/" + entry.path().filename().string());
  std::sort(pictures.begin(), pictures.end());
  return pictures;
}

void ExpectOutcome(const ContentCopy& content, const FaultOutcome& expected,
                   const std::vector<std::string>& arguments,
                   const std::map<std::string, std::string>& environment, const std::string& program) {
  const std::string& folder = content.folder().path();
  const std::map<std::string, std::string> before = Snapshot(folder);
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::map<std::string, std::string> headless = {{"DISPLAY", ""}, {"SDL_VIDEODRIVER", "offscreen"}};
  for (const auto& [name, value] : environment) headless[name] = value;
  const ProcessResult run = RunProcess(argv, folder, headless);

  EXPECT_EQ(run.exitCode, expected.exitCode) << run.err;
  if (expected.errorMayFollowNoise) EXPECT_TRUE(EndsWith(run.err, expected.standardError)) << run.err;
  else EXPECT_EQ(run.err, expected.standardError);
  const std::string reportFile = content.File("error.txt");
  if (expected.report) EXPECT_EQ(ReadWholeFile(reportFile), *expected.report);
  else EXPECT_FALSE(FileExists(reportFile)) << ReadWholeFile(reportFile);
  EXPECT_EQ(Changes(before, Snapshot(folder)), std::vector<std::string>{})
      << "the run changed what it should only read";
}
