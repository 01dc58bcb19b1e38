// The content tools give the same bytes on every run: the pictures and the music made again here
// equal what the build put into the demo folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "tests/assets/content_files.h"

namespace {

namespace fs = std::filesystem;

class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::string pattern = (fs::temp_directory_path() / "kelvane-content-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

int RunTool(const std::string& command) { return std::system((command + " > /dev/null").c_str()); }

TEST(Rebuild, PicturesComeOutByteForByteTheSame) {
  ScratchDirectory scratch;
  ASSERT_EQ(RunTool(std::string(MAKE_PICTURES) + " --assets " + KELVANE_ASSETS + " --out " + scratch.path().string()), 0);
  int compared = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(scratch.path() / "data")) {
    const std::string name = "data/" + entry.path().filename().string();
    EXPECT_EQ(ReadBytes(entry.path().string()), ReadBytes(DemoFile(name))) << name;
    ++compared;
  }
  EXPECT_EQ(compared, 22);
}

TEST(Rebuild, MusicComesOutByteForByteTheSame) {
  ScratchDirectory scratch;
  ASSERT_EQ(RunTool(std::string(MAKE_MUSIC) + " --ogg " + scratch / "a.ogg" + " --wav " + scratch / "a.wav"), 0);
  ASSERT_EQ(RunTool(std::string(MAKE_MUSIC) + " --wav " + scratch / "b.wav"), 0);
  EXPECT_EQ(ReadBytes(scratch / "a.ogg"), ReadBytes(DemoFile("kelvane.ogg")));
  const std::vector<std::uint8_t> samples = ReadBytes(scratch / "a.wav");
  EXPECT_EQ(samples.size(), 44u + 4409559u * 4u) << "99990 ms of 16-bit stereo";
  EXPECT_EQ(samples, ReadBytes(scratch / "b.wav"));
}

}  // namespace
