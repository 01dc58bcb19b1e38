// The music module: what start-up and the frame loop call.
#include "sequencing/music.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/sound.h"
#include "base/failure_trap.h"
#include "sequencing/music_state.h"
#include "tests/platform/sound_files.h"

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

  ScratchFolder folder;
};

TEST_F(Music, WithoutMusicTheTimeIsZeroAndTheSpectrumEmpty) {
  EnableSpectrum();
  EXPECT_EQ(GetMusicTime(), 0);
  std::vector<float> values(512, 7.0f);
  ReadSpectrum(values.data());
  EXPECT_EQ(values, std::vector<float>(512, 0.0f));
}

TEST_F(Music, ALengthOf0BecomesTheStreamsLengthAndTheSpectrumFollowsTheMusic) {
  WriteTone(folder / "tune.wav", {.seconds = 1.5});
  musicFile = (folder / "tune.wav").string();
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
  WriteTone(folder / "tune.wav", {.seconds = 0.5});
  {
    std::ofstream packed(folder / "packed.dat", std::ios::binary);
    std::ifstream music(folder / "tune.wav", std::ios::binary);
    packed << std::string(1000, '\0') << music.rdbuf();
  }
  musicFile = (folder / "packed.dat").string();
  musicOffset = 1000;
  musicLength = 95000;
  ASSERT_EQ(StartFailure(false), (std::pair<std::string, std::string>{}));
  EXPECT_EQ(musicLength, 95000);
}

TEST_F(Music, FilesThatCannotBePlayedAreReportedByFmod) {
  std::ofstream(folder / "notes.txt") << "not music\n";
  musicFile = (folder / "missing.ogg").string();
  EXPECT_EQ(StartFailure(false), (std::pair<std::string, std::string>{"FMOD", "File not found"}));
  StopMusic();
  musicFile = (folder / "notes.txt").string();
  EXPECT_EQ(StartFailure(false), (std::pair<std::string, std::string>{"FMOD", "Unknown file format"}));
}

TEST_F(Music, MusicOnWithoutASoundCardCannotInitialiseTheOutput) {
  setenv("SDL_AUDIODRIVER", "alsa", 1);
  setenv("AUDIODEV", "kelvane_no_such_device", 1);
  WriteTone(folder / "tune.wav", {.seconds = 0.2});
  musicFile = (folder / "tune.wav").string();
  EXPECT_EQ(StartFailure(true), (std::pair<std::string, std::string>{"FMOD", "Error initializing output device"}));
}

TEST(SoundErrorText, GivesTheTableAndUnknownErrorOtherwise) {
  EXPECT_STREQ(SoundErrorText(0), "No errors");
  EXPECT_STREQ(SoundErrorText(1), "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first");
  EXPECT_STREQ(SoundErrorText(3), "Error initializing output device");
  EXPECT_STREQ(SoundErrorText(6),
               "Soundcard does not support the features needed for this soundsystem (16bit stereo output)");
  EXPECT_STREQ(SoundErrorText(9), "File not found");
  EXPECT_STREQ(SoundErrorText(10), "Unknown file format");
  EXPECT_STREQ(SoundErrorText(11), "Error loading file");
  EXPECT_STREQ(SoundErrorText(18), "Required Mediaplayer codec is not installed");
  for (std::int32_t other : {19, 42, -1, 2147483647}) EXPECT_STREQ(SoundErrorText(other), "Unknown error");
}

}  // namespace
