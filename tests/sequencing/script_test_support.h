// A working folder of its own for each script test (the loader writes "debug.txt" into the working
// directory), and the start-up's scene registration and timeline.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/sequencing/recording_scenes.h"

class TemporaryWorkingDirectory {
 public:
  TemporaryWorkingDirectory() : previous_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-seq-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    std::filesystem::current_path(path_);
  }
  ~TemporaryWorkingDirectory() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

inline std::string ReadWholeFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteWholeFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

// Slots 1 to 8 as start-up registers them, and "Timeline1" of 99890 ms in slot 1.
inline void RegisterStartupScenes() {
  const char* names[] = {"Scene01", "Scene02", "Scene05", "Scene06", "Scene08", "Scene09", "Scene10", "Scene11"};
  sceneTable[1] = std::make_unique<Scene>(RecordingScene<'1'>(names[0]));
  sceneTable[2] = std::make_unique<Scene>(RecordingScene<'2'>(names[1]));
  sceneTable[3] = std::make_unique<Scene>(RecordingScene<'3'>(names[2]));
  sceneTable[4] = std::make_unique<Scene>(RecordingScene<'4'>(names[3]));
  sceneTable[5] = std::make_unique<Scene>(RecordingScene<'5'>(names[4]));
  sceneTable[6] = std::make_unique<Scene>(RecordingScene<'6'>(names[5]));
  sceneTable[7] = std::make_unique<Scene>(RecordingScene<'7'>(names[6]));
  sceneTable[8] = std::make_unique<Scene>(RecordingScene<'8'>(names[7]));
  timelineTable[1] = std::make_unique<Timeline>("Timeline1", 99890);
}
