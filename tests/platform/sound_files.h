// Music files made by the tests themselves, with libsndfile.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <filesystem>
#include <string>

struct ToneFile {
  int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  int rate = 44100;
  int channels = 2;
  double seconds = 1.0;
  double frequency = 1000.0;  // 0: silence
  double amplitude = 1.0;     // full scale
};

// Writes a sine (or silence) of `tone` to `path`; the test fails if libsndfile cannot.
void WriteTone(const std::filesystem::path& path, const ToneFile& tone);

// A folder of its own for one test, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};
