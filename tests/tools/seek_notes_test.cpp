// The seek notes' file: what one run saves, the next run of the same renderer build, script, frame
// rate and size reads back; any other of these, or a file not of the notes' form, reads as no notes
// (stale notes would place the driver's vertex buffer wrongly).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/subprocess.h"
#include "tools/common/seek_notes.h"

namespace fs = std::filesystem;

namespace {

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::trunc) << text; }

class SeekNotesFile : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = fs::current_path();
    fs::current_path(folder_.path());
    setenv("XDG_CACHE_HOME", folder_.File("cache").c_str(), 1);
    Write("script.dlx", "@scene Scene01 1 0 22899 \n");
    Write(renderer_, "a build");
    SeekNotes notes(renderer_, 60, 640, 480);
    notes.fills() = {4096, -1, 200000};
    notes.Save();
  }
  void TearDown() override { fs::current_path(previous_); }

  TempFolder folder_;
  fs::path previous_;
  const std::string renderer_ = folder_.File("kelvane-render");
};

TEST_F(SeekNotesFile, ReadBackOnlyForTheSameBuildScriptRateAndSize) {
  EXPECT_EQ(SeekNotes(renderer_, 60, 640, 480).fills(), (VertexBufferFills{4096, -1, 200000}));
  EXPECT_TRUE(SeekNotes(renderer_, 30, 640, 480).fills().empty()) << "another frame rate";
  EXPECT_TRUE(SeekNotes(renderer_, 60, 320, 240).fills().empty()) << "another size";
  // Another build, changed at the very same moment: only its length tells it apart.
  const std::string other = folder_.File("another-kelvane-render");
  Write(other, "another build");
  fs::last_write_time(other, fs::last_write_time(renderer_));
  EXPECT_TRUE(SeekNotes(other, 60, 640, 480).fills().empty()) << "another build";
  Write("script.dlx", "@scene Scene02 1 0 22899 \n");
  EXPECT_TRUE(SeekNotes(renderer_, 60, 640, 480).fills().empty()) << "another script";
}

TEST_F(SeekNotesFile, AFileNotOfTheNotesFormReadsAsNoNotes) {
  const fs::path folder = folder_.File("cache/kelvane/seek");
  ASSERT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  const std::string file = fs::directory_iterator(folder)->path();
  for (const char* text : {"kelvane seek notes 2\n4096\n", "kelvane seek notes 1\n4096x\n",
                           "kelvane seek notes 1\n-2\n", "kelvane seek notes 1\n\n", "kelvane seek notes 1\n4294967296\n"}) {
    Write(file, text);
    EXPECT_TRUE(SeekNotes(renderer_, 60, 640, 480).fills().empty()) << text;
  }
}

}  // namespace
