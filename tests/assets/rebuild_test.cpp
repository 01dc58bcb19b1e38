// The content tools give the same bytes on every run: the pictures and the music made again here
// equal what the build put into the demo folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/assets/content_files.h"
#include "tests/support/subprocess.h"

namespace {

TEST(Rebuild, PicturesAndMusicComeOutByteForByteTheSame) {
  const TempFolder scratch;
  const std::vector<std::string> pictures{MAKE_PICTURES, "--assets", KELVANE_ASSETS, "--out", scratch.path()};
  ASSERT_EQ(RunProcess(pictures, scratch.path()).exitCode, 0);
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(scratch.File("data"))) {
    const std::string name = "data/" + entry.path().filename().string();
    EXPECT_EQ(ReadWholeFile(entry.path()), ReadWholeFile(DemoFile(name))) << name;
    ++compared;
  }
  EXPECT_EQ(compared, 22);
  ASSERT_EQ(RunProcess({MAKE_MUSIC, "--ogg", "a.ogg", "--wav", "a.wav"}, scratch.path()).exitCode, 0);
  ASSERT_EQ(RunProcess({MAKE_MUSIC, "--wav", "b.wav"}, scratch.path()).exitCode, 0);
  EXPECT_EQ(ReadWholeFile(scratch.File("a.ogg")), ReadWholeFile(DemoFile("kelvane.ogg")));
  const std::string samples = ReadWholeFile(scratch.File("a.wav"));
  EXPECT_EQ(samples.size(), 44u + 4409559u * 4u) << "99990 ms of 16-bit stereo";
  EXPECT_EQ(samples, ReadWholeFile(scratch.File("b.wav")));
}

}  // namespace
