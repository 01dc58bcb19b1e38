// PNG and binary PPM/PGM reading and writing for the command-line tools (libpng).
//
// Pictures are 8 bits per channel, rows top first, channels interleaved: 1 = grey, 3 = RGB, 4 = RGBA.
// Every function returns false and fills `error` with a message that names the file on failure.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

struct Picture {
  int width = 0;
  int height = 0;
  int channels = 0;
  std::vector<std::uint8_t> pixels;  // width * height * channels bytes
};

bool WritePng(const std::string& path, const Picture& picture, std::string& error);
// Any PNG comes back as grey (1) or RGB (3); alpha and 16-bit samples are reduced to 8-bit RGB/grey.
bool ReadPng(const std::string& path, Picture& picture, std::string& error);

// Binary "P6" (RGB) and "P5" (grey) files with maxval 255.
bool WritePnm(const std::string& path, const Picture& picture, std::string& error);
bool ReadPnm(const std::string& path, Picture& picture, std::string& error);

// A binary PNM written as its rows come, for a picture that is never held whole. Every call after the
// first failure does nothing and returns false; Finish reports that failure, or a failed flush.
class PnmRowWriter {
 public:
  PnmRowWriter() = default;
  PnmRowWriter(const PnmRowWriter&) = delete;
  PnmRowWriter& operator=(const PnmRowWriter&) = delete;
  ~PnmRowWriter();

  bool Open(const std::string& path, int width, int height, int channels);  // channels 1 or 3
  bool Write(const std::uint8_t* bytes, std::size_t size);
  bool Finish(std::string& error);  // flushes and closes

 private:
  static constexpr std::size_t kBufferBytes = std::size_t{1} << 16;
  bool Fail();
  std::string path_;
  std::unique_ptr<char[]> buffer_;  // the stream's; Finish and the destructor close the stream first
  std::FILE* file_ = nullptr;
  std::string problem_;
};

// Whether a file name says PNM (".ppm" or ".pgm"); anything else is PNG.
bool IsPnmName(const std::string& path);

// Picks PNG or PNM by the file name's extension, as IsPnmName says.
bool WritePicture(const std::string& path, const Picture& picture, std::string& error);
bool ReadPicture(const std::string& path, Picture& picture, std::string& error);
