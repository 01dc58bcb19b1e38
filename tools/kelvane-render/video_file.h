// An MP4 file with the rendered frames as H.264 (libx264, yuv420p) and, when given, the music as
// AAC, both starting at time 0 of the file.
//
// Frames come in as RGB bytes, rows top first; the audio as interleaved stereo floats at 44100 Hz,
// in blocks of any length. Every failure returns false with a message naming the file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct VideoFormat {
  std::int32_t width = 640;
  std::int32_t height = 480;
  std::int32_t fps = 60;
  bool withAudio = true;
};

class VideoFile {
 public:
  static std::unique_ptr<VideoFile> Create(const std::string& path, const VideoFormat& format, std::string& error);
  ~VideoFile();
  VideoFile(const VideoFile&) = delete;
  VideoFile& operator=(const VideoFile&) = delete;

  bool AddFrame(const std::uint8_t* rgb, std::string& error);
  bool AddAudio(const float* stereo, std::size_t frames, std::string& error);
  // Flushes both encoders and writes the file's index; the file is complete only after this.
  bool Finish(std::string& error);

  struct Parts;

 private:
  explicit VideoFile(std::unique_ptr<Parts> parts);
  std::unique_ptr<Parts> parts_;
};
