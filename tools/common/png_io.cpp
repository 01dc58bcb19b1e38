#include "tools/common/png_io.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cctype>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool Fail(std::string& error, const std::string& path, const std::string& why) {
  error = path + ": " + why;
  return false;
}

bool EndsWith(const std::string& s, const char* tail) {
  const std::size_t n = std::strlen(tail);
  return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

bool CheckShape(const Picture& p, const std::string& path, std::string& error) {
  if (p.width <= 0 || p.height <= 0) return Fail(error, path, "empty picture");
  if (p.channels != 1 && p.channels != 3 && p.channels != 4) return Fail(error, path, "unsupported channel count");
  if (p.pixels.size() != std::size_t(p.width) * p.height * p.channels) return Fail(error, path, "pixel buffer size mismatch");
  return true;
}

}  // namespace

bool IsPnmName(const std::string& path) { return EndsWith(path, ".ppm") || EndsWith(path, ".pgm"); }

bool WritePng(const std::string& path, const Picture& picture, std::string& error) {
  if (!CheckShape(picture, path, error)) return false;
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) return Fail(error, path, std::strerror(errno));
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return Fail(error, path, "out of memory");
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return Fail(error, path, "PNG write failed");
  }
  png_init_io(png, file.get());
  const int type = picture.channels == 1 ? PNG_COLOR_TYPE_GRAY
                   : picture.channels == 3 ? PNG_COLOR_TYPE_RGB
                                           : PNG_COLOR_TYPE_RGBA;
  png_set_IHDR(png, info, picture.width, picture.height, 8, type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const std::size_t stride = std::size_t(picture.width) * picture.channels;
  for (int y = 0; y < picture.height; ++y) png_write_row(png, picture.pixels.data() + stride * y);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fflush(file.get()) != 0) return Fail(error, path, std::strerror(errno));
  return true;
}

bool ReadPng(const std::string& path, Picture& picture, std::string& error) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return Fail(error, path, std::strerror(errno));
  unsigned char signature[8];
  if (std::fread(signature, 1, 8, file.get()) != 8 || png_sig_cmp(signature, 0, 8) != 0)
    return Fail(error, path, "not a PNG file");
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return Fail(error, path, "out of memory");
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return Fail(error, path, "corrupt PNG file");
  }
  png_init_io(png, file.get());
  png_set_sig_bytes(png, 8);
  png_read_info(png, info);
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_packing(png);
  png_set_palette_to_rgb(png);
  png_set_expand_gray_1_2_4_to_8(png);
  png_read_update_info(png, info);
  Picture result;
  result.width = int(png_get_image_width(png, info));
  result.height = int(png_get_image_height(png, info));
  result.channels = int(png_get_channels(png, info));
  result.pixels.resize(std::size_t(result.width) * result.height * result.channels);
  const std::size_t stride = std::size_t(result.width) * result.channels;
  for (int y = 0; y < result.height; ++y) png_read_row(png, result.pixels.data() + stride * y, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  picture = std::move(result);
  return true;
}

bool WritePnm(const std::string& path, const Picture& picture, std::string& error) {
  if (!CheckShape(picture, path, error)) return false;
  if (picture.channels == 4) return Fail(error, path, "PNM cannot hold alpha");
  PnmRowWriter writer;
  writer.Open(path, picture.width, picture.height, picture.channels);
  writer.Write(picture.pixels.data(), picture.pixels.size());
  return writer.Finish(error);
}

PnmRowWriter::~PnmRowWriter() {
  if (file_) std::fclose(file_);
}

bool PnmRowWriter::Fail() {
  if (problem_.empty()) problem_ = std::strerror(errno);
  return false;
}

bool PnmRowWriter::Open(const std::string& path, int width, int height, int channels) {
  path_ = path;
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) return Fail();
  // Rows come a few kilobytes at a time: a larger buffer keeps the number of writes down. The buffer
  // must be given: with none, the C library ignores the size and takes the file's block size.
  buffer_ = std::make_unique<char[]>(kBufferBytes);
  std::setvbuf(file_, buffer_.get(), _IOFBF, kBufferBytes);
  if (std::fprintf(file_, "P%d\n%d %d\n255\n", channels == 1 ? 5 : 6, width, height) < 0) return Fail();
  return true;
}

bool PnmRowWriter::Write(const std::uint8_t* bytes, std::size_t size) {
  if (!problem_.empty() || !file_) return false;
  return std::fwrite(bytes, 1, size, file_) == size || Fail();
}

bool PnmRowWriter::Finish(std::string& error) {
  if (file_ && problem_.empty() && std::fflush(file_) != 0) Fail();
  if (file_ && std::fclose(file_) != 0 && problem_.empty()) Fail();
  file_ = nullptr;
  if (problem_.empty()) return true;
  return ::Fail(error, path_, problem_);
}

namespace {

// Reads one header number of a PNM file, skipping blanks and '#' comments.
bool ReadPnmNumber(std::FILE* file, int& value) {
  int c = std::fgetc(file);
  while (c == '#' || std::isspace(c)) {
    if (c == '#')
      while (c != '\n' && c != EOF) c = std::fgetc(file);
    c = std::fgetc(file);
  }
  if (c < '0' || c > '9') return false;
  long v = 0;
  while (c >= '0' && c <= '9') {
    v = v * 10 + (c - '0');
    if (v > 1 << 20) return false;
    c = std::fgetc(file);
  }
  value = int(v);
  return std::isspace(c);  // exactly one blank ends the header's last number
}

}  // namespace

bool ReadPnm(const std::string& path, Picture& picture, std::string& error) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return Fail(error, path, std::strerror(errno));
  char magic[2];
  if (std::fread(magic, 1, 2, file.get()) != 2 || magic[0] != 'P' || (magic[1] != '5' && magic[1] != '6'))
    return Fail(error, path, "not a binary PPM/PGM file");
  Picture result;
  result.channels = magic[1] == '5' ? 1 : 3;
  int maxval = 0;
  if (!ReadPnmNumber(file.get(), result.width) || !ReadPnmNumber(file.get(), result.height) ||
      !ReadPnmNumber(file.get(), maxval) || result.width <= 0 || result.height <= 0)
    return Fail(error, path, "bad PPM/PGM header");
  if (maxval != 255) return Fail(error, path, "only 8-bit PPM/PGM (maxval 255) is supported");
  result.pixels.resize(std::size_t(result.width) * result.height * result.channels);
  if (std::fread(result.pixels.data(), 1, result.pixels.size(), file.get()) != result.pixels.size())
    return Fail(error, path, "file ends before the last pixel");
  picture = std::move(result);
  return true;
}

bool WritePicture(const std::string& path, const Picture& picture, std::string& error) {
  return IsPnmName(path) ? WritePnm(path, picture, error) : WritePng(path, picture, error);
}

bool ReadPicture(const std::string& path, Picture& picture, std::string& error) {
  return IsPnmName(path) ? ReadPnm(path, picture, error) : ReadPng(path, picture, error);
}
