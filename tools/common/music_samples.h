// The demo's music as the live stream hands it to the listener, decoded ahead for a whole render.
//
// The file's frames go through the same conversion to the mixing rate (44100 Hz) as the live stream,
// in the same blocks, and loop at the end the same way, so frame n here is frame n of the live
// stream counted from the start of play. The spectrum at a time T then takes exactly the samples the
// live spectrum takes at T (see platform/sound.h) and runs the same analysis on them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr std::int32_t kMusicMixRate = 44100;

// F = floor(T × 44100 / 1000): the live window at time T ends just before stream frame F.
std::int64_t StreamFrameAtTime(std::int32_t timeMs);

class MusicSamples {
 public:
  // Interleaved stereo frames at the mixing rate, frame 0 first.
  explicit MusicSamples(std::vector<float> stereo) : stereo_(std::move(stereo)) {}

  std::int64_t frames() const { return std::int64_t(stereo_.size() / 2); }
  const std::vector<float>& stereo() const { return stereo_; }

  // The 1024 mono samples (left + right) / 2 of frames end - 1024 ... end - 1, zeros outside the music.
  void MonoWindowEndingAt(std::int64_t endFrame, float* samples) const;
  // The live spectrum at `timeMs`: AnalyseSpectrum of the window that ends at StreamFrameAtTime.
  void SpectrumAt(std::int32_t timeMs, float* magnitudes) const;
  // `count` stereo frames from `first` on, zeros outside the music.
  std::vector<float> StereoFrames(std::int64_t first, std::int64_t count) const;

 private:
  std::vector<float> stereo_;
};

struct MusicFile {
  std::int32_t lengthMs = 0;  // the stream's own length, as the live sound layer gives it
  std::int32_t error = 0;     // the sound layer's error code when the file cannot be read
};

// The length of the music at `byteOffset` into `path`; `error` non-zero when it cannot be opened.
MusicFile InspectMusic(const std::string& path, std::int32_t byteOffset);
// The first `frames` stream frames of the music (looping as the live stream does). A file that
// cannot be opened gives silence; InspectMusic says why.
MusicSamples DecodeMusic(const std::string& path, std::int32_t byteOffset, std::int64_t frames);

// The music length the demo's start-up would settle on: the script's "@music" end time, or the
// file's own length when that is 0. A music file that cannot be read is the sound library's fatal
// error report ("FMOD"), as at start-up. Nothing without a music file.
void SettleMusicLength();
