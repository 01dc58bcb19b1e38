// The music module: what start-up and the frame loop call. Music that cannot be played and a missing
// sound device end the demo with FMOD's report: the fault matrix runs those.
#include "sequencing/music.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <thread>
#include <vector>

#include "base/failure_trap.h"
#include "sequencing/sequencing.h"
#include "tests/platform/sound_files.h"
#include "tests/support/subprocess.h"

namespace {

using namespace std::chrono_literals;

std::vector<float> Spectrum() {
  std::vector<float> values(512, 7.0f);
  ReadSpectrum(values.data());
  return values;
}

TEST(Music, ALengthOf0BecomesTheStreamsLengthTheSpectrumFollowsTheMusicAndTheOffsetSkipsWhatComesBefore) {
  const FailureTrap trap;  // a failed start throws
  const TempFolder folder;
  EnableSpectrum();
  EXPECT_EQ(GetMusicTime(), 0) << "no music yet";
  EXPECT_EQ(Spectrum(), std::vector<float>(512, 0.0f)) << "no music yet";
  WriteTone(folder.File("tune.wav"), {.seconds = 1.5});
  musicFile = folder.File("tune.wav");
  musicLength = 0;
  StartMusic(false);
  EXPECT_EQ(musicLength, 1500);
  EXPECT_LT(GetMusicTime(), 100);
  EXPECT_EQ(Spectrum(), std::vector<float>(512, 0.0f)) << "not enabled yet";
  EnableSpectrum();
  std::this_thread::sleep_for(150ms);
  const std::vector<float> values = Spectrum();
  EXPECT_EQ(std::max_element(values.begin(), values.end()) - values.begin(), 23) << "1 kHz";
  EXPECT_GT(GetMusicTime(), 100);
  StopMusic();
  // A script's length stays; the tune behind 1000 other bytes plays from its offset.
  std::ofstream(folder.File("packed.dat"), std::ios::binary)
      << std::string(1000, '\0') << std::ifstream(folder.File("tune.wav"), std::ios::binary).rdbuf();
  musicFile = folder.File("packed.dat");
  musicOffset = 1000;
  musicLength = 95000;
  StartMusic(false);
  EXPECT_EQ(musicLength, 95000);
  StopMusic();
}

}  // namespace
