// The music module: what start-up and the frame loop call.
#include "sequencing/music.h"

#include <gtest/gtest.h>
#include <stdlib.h>

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

class Music : public ::testing::Test {
 protected:
  Music() { ResetMusicState(); }
  ~Music() override {
    StopMusic();  // also after a failed start, which leaves the layer open
    ResetMusicState();
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("AUDIODEV");
  }

  // StartMusic's failure, as module and message; empty when it started.
  std::pair<std::string, std::string> StartFailure(bool on) {
    FailureTrap trap;
    try {
      StartMusic(on);
    } catch (const FatalErrorRaised& error) {
      return {error.module, error.message};
    }
    return {};
  }

  TempFolder folder;
};

TEST_F(Music, WithoutMusicTheTimeIsZeroAndTheSpectrumEmpty) {
  EnableSpectrum();
  EXPECT_EQ(GetMusicTime(), 0);
  std::vector<float> values(512, 7.0f);
  ReadSpectrum(values.data());
  EXPECT_EQ(values, std::vector<float>(512, 0.0f));
}

TEST_F(Music, ALengthOf0BecomesTheStreamsLengthAndTheSpectrumFollowsTheMusic) {
  WriteTone(folder.File("tune.wav"), {.seconds = 1.5});
  musicFile = folder.File("tune.wav");
  musicLength = 0;
  ASSERT_EQ(StartFailure(false), (std::pair<std::string, std::string>{}));
  EXPECT_EQ(musicLength, 1500);
  EXPECT_LT(GetMusicTime(), 100);

  std::vector<float> values(512, 7.0f);
  ReadSpectrum(values.data());
  EXPECT_EQ(values, std::vector<float>(512, 0.0f));  // not enabled yet
  EnableSpectrum();
  std::this_thread::sleep_for(150ms);
  ReadSpectrum(values.data());
  EXPECT_EQ(std::max_element(values.begin(), values.end()) - values.begin(), 23);
  EXPECT_GT(GetMusicTime(), 100);
}

TEST_F(Music, AScriptLengthStaysAndTheOffsetSkipsWhatComesBeforeTheMusic) {
  WriteTone(folder.File("tune.wav"), {.seconds = 0.5});
  {
    std::ofstream packed(folder.File("packed.dat"), std::ios::binary);
    std::ifstream music(folder.File("tune.wav"), std::ios::binary);
    packed << std::string(1000, '\0') << music.rdbuf();
  }
  musicFile = folder.File("packed.dat");
  musicOffset = 1000;
  musicLength = 95000;
  ASSERT_EQ(StartFailure(false), (std::pair<std::string, std::string>{}));
  EXPECT_EQ(musicLength, 95000);
}

TEST_F(Music, FilesThatCannotBePlayedAreReportedByFmod) {
  std::ofstream(folder.File("notes.txt")) << "not music\n";
  musicFile = folder.File("missing.ogg");
  EXPECT_EQ(StartFailure(false), (std::pair<std::string, std::string>{"FMOD", "File not found"}));
  StopMusic();
  musicFile = folder.File("notes.txt");
  EXPECT_EQ(StartFailure(false), (std::pair<std::string, std::string>{"FMOD", "Unknown file format"}));
}

TEST_F(Music, MusicOnWithoutASoundCardCannotInitialiseTheOutput) {
  setenv("SDL_AUDIODRIVER", "alsa", 1);
  setenv("AUDIODEV", "kelvane_no_such_device", 1);
  WriteTone(folder.File("tune.wav"), {.seconds = 0.2});
  musicFile = folder.File("tune.wav");
  EXPECT_EQ(StartFailure(true), (std::pair<std::string, std::string>{"FMOD", "Error initializing output device"}));
}

}  // namespace
