// The music file missing, not audio or cut short; music on without a sound device; no display at
// all; a folder where "debug.txt" should be written; full screen where the display has no modes.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/runtime/faults/fault_run.h"

namespace fs = std::filesystem;

namespace {

class SystemFaults : public OnContentCopy {
 protected:
  // The one music file the real script names.
  std::string Music() const { return content->File("kelvane.ogg"); }
};

}  // namespace

TEST_F(SystemFaults, MusicMissingIsNotFound) {
  fs::remove(Music());
  ExpectOutcome(*content, FatalReport("FMOD", "File not found"));
}

TEST_F(SystemFaults, MusicThatIsNotAudioHasAnUnknownFormat) {
  WriteWholeFile(Music(), "These are not the notes you are looking for.\n");
  ExpectOutcome(*content, FatalReport("FMOD", "Unknown file format"));
}

TEST_F(SystemFaults, MusicCutInsideItsHeadersCannotBeLoaded) {
  WriteWholeFile(Music(), ReadWholeFile(Music()).substr(0, 100));
  ExpectOutcome(*content, FatalReport("FMOD", "Error loading file"));
}

TEST_F(SystemFaults, MusicCutAtHalfStillPlays) {
  const std::string music = ReadWholeFile(Music());
  ASSERT_GT(music.size(), 10000u);
  WriteWholeFile(Music(), music.substr(0, music.size() / 2));
  ExpectOutcome(*content, CleanRun(), {"--frames", "20"});
}

TEST_F(SystemFaults, MusicOnWithoutASoundDeviceCannotInitialiseTheOutput) {
  FaultOutcome expected = FatalReport("FMOD", "Error initializing output device");
  expected.errorMayFollowNoise = true;  // ALSA says what it could not open first
  ExpectOutcome(*content, expected, {"--music", "--frames", "3"},
                {{"SDL_AUDIODRIVER", "alsa"}, {"AUDIODEV", "kelvane_no_such_device"}});
}

TEST_F(SystemFaults, NoDisplayAtAllCannotShowTheDialog) {
  ExpectOutcome(*content, FatalReport("Startup Dialog", "Can`t create startup dialog"), {}, {}, KELVANE);
  EXPECT_FALSE(fs::exists(content->File("debug.txt")));
}

TEST_F(SystemFaults, DebugLogThatIsAFolderIsAnIoError) {
  fs::create_directory(content->File("debug.txt"));
  ExpectOutcome(*content, IoFailure(5, "access denied", "debug.txt"));
  EXPECT_TRUE(fs::is_directory(content->File("debug.txt")));
}

TEST_F(SystemFaults, FullScreenWhereTheDisplayHasNoSuchModeIsRefused) {
  // The offscreen display lists no modes at all; the check on a real X display is fullscreen_x11.sh.
  ExpectOutcome(*content, FatalReport("zenWinAPI", "Screen resolution is not supported by your gfx card!"),
                {"--fullscreen", "--frames", "3"});
}
