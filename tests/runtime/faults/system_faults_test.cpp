// The music file missing, not audio or cut short; music on without a sound device; no display at
// all; a folder where "debug.txt" should be written; full screen where the display has no modes.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/runtime/faults/fault_run.h"

namespace {

using SystemFaults = OnContentCopy;
constexpr const char* kMusic = "kelvane.ogg";  // the one music file the real script names

TEST_F(SystemFaults, MusicMissingIsNotFound) {
  std::filesystem::remove(content.File(kMusic));
  ExpectOutcome(FatalReport("FMOD", "File not found"));
}

TEST_F(SystemFaults, MusicThatIsNotAudioHasAnUnknownFormat) {
  WriteWholeFile(content.File(kMusic), "These are not the notes you are looking for.\n");
  ExpectOutcome(FatalReport("FMOD", "Unknown file format"));
}

TEST_F(SystemFaults, MusicCutInsideItsHeadersCannotBeLoadedAndCutAtHalfStillPlays) {
  const std::string music = ReadWholeFile(content.File(kMusic));
  ASSERT_GT(music.size(), 10000u);
  WriteWholeFile(content.File(kMusic), music.substr(0, 100));
  ExpectOutcome(FatalReport("FMOD", "Error loading file"));
  WriteWholeFile(content.File(kMusic), music.substr(0, music.size() / 2));
  std::filesystem::remove(content.File("error.txt"));
  ExpectOutcome(kCleanRun, {"--frames", "20"});
}

TEST_F(SystemFaults, MusicOnWithoutASoundDeviceCannotInitialiseTheOutput) {
  FaultOutcome expected = FatalReport("FMOD", "Error initializing output device");
  expected.errorMayFollowNoise = true;  // ALSA says what it could not open first
  ExpectOutcome(expected, {"--music", "--frames", "3"},
                {{"SDL_AUDIODRIVER", "alsa"}, {"AUDIODEV", "kelvane_no_such_device"}});
}

TEST_F(SystemFaults, NoDisplayAtAllCannotShowTheDialog) {
  ExpectOutcome(FatalReport("Startup Dialog", "Can`t create startup dialog"), {}, {}, KELVANE);
  EXPECT_FALSE(std::filesystem::exists(content.File("debug.txt")));
}

TEST_F(SystemFaults, DebugLogThatIsAFolderIsAnIoError) {
  std::filesystem::create_directory(content.File("debug.txt"));
  ExpectOutcome(IoFailure(5, "access denied", "debug.txt"));
  EXPECT_TRUE(std::filesystem::is_directory(content.File("debug.txt")));
}

TEST_F(SystemFaults, FullScreenWhereTheDisplayHasNoSuchModeIsRefused) {
  // The offscreen display lists no modes at all; the check on a real X display is fullscreen_x11.sh.
  ExpectOutcome(FatalReport("zenWinAPI", "Screen resolution is not supported by your gfx card!"),
                {"--fullscreen", "--frames", "3"});
}

}  // namespace
