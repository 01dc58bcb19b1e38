// Start-up on damaged content: each missing picture ends the program through the runtime I/O error
// naming that file, and a script naming an unknown scene ends with its own message.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/subprocess.h"

namespace fs = std::filesystem;

namespace {

const fs::path kContent = KELVANE_DEMO_DIR;

// A scratch folder with the content linked in, the data folder copied so single files can go.
void LinkContent(const TempFolder& folder) {
  for (const fs::directory_entry& entry : fs::directory_iterator(kContent)) {
    const fs::path name = entry.path().filename();
    if (name == "data") fs::copy(entry.path(), folder.File("data"), fs::copy_options::recursive);
    else if (name != "debug.txt" && name != "error.txt" && name != "kelvane")
      fs::create_symlink(entry.path(), folder.File(name.string()));
  }
}

ProcessResult StartUp(const TempFolder& folder) {
  return RunProcess({STARTUP_PROBE}, folder.path(), {{"SDL_VIDEODRIVER", "offscreen"}});
}

}  // namespace

class StartupFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kContent / "script.dlx")) GTEST_SKIP() << "no demo content in " << kContent;
  }
};

TEST_F(StartupFaults, IntactContentStartsAndStops) {
  TempFolder folder;
  LinkContent(folder);
  const ProcessResult run = StartUp(folder);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("STARTED AND STOPPED"), std::string::npos);
}

TEST_F(StartupFaults, EachMissingPictureIsTheIoErrorNamingIt) {
  std::vector<std::string> pictures;
  for (const fs::directory_entry& entry : fs::directory_iterator(kContent / "data"))
    pictures.push_back("data/" + entry.path().filename().string());
  ASSERT_EQ(pictures.size(), 22u);
  for (const std::string& picture : pictures) {
    TempFolder folder;
    LinkContent(folder);
    fs::remove(folder.File(picture));
    const ProcessResult run = StartUp(folder);
    EXPECT_EQ(run.exitCode, 2) << picture;
    EXPECT_EQ(run.err, "I/O error 2 (file not found): " + picture + "\n") << picture;
    EXPECT_FALSE(FileExists(folder.File("error.txt"))) << picture;
  }
}

TEST_F(StartupFaults, AScriptNamingAnUnknownSceneEndsWithItsMessage) {
  TempFolder folder;
  LinkContent(folder);
  fs::remove(folder.File("script.dlx"));
  WriteWholeFile(folder.File("script.dlx"), "@scene Scene99 1 0 1000 \r\n");
  const ProcessResult run = StartUp(folder);
  EXPECT_EQ(run.exitCode, 1);
  const std::string report = ReadWholeFile(folder.File("error.txt"));
  EXPECT_EQ(report.rfind("Sorry, but the following module had something to say:\r\n\r\nzenTimeline\r\n", 0), 0u)
      << report;
  EXPECT_NE(report.find("Something is wrong with the Script!"), std::string::npos) << report;
}
