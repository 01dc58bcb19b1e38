#include "tools/kelvane-render/frame_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "tools/common/music_samples.h"
#include "tools/kelvane-render/video_file.h"

namespace fs = std::filesystem;

namespace {

// Opens `path` for appending (never truncating) and removes it again if it was not there before.
bool ProbeFile(const std::string& path, std::string& error) {
  std::error_code ignored;
  const bool existed = fs::exists(path, ignored);
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  std::fclose(file);
  if (!existed) fs::remove(path, ignored);
  return true;
}

bool PrepareFramesFolder(const std::string& folder, std::string& error) {
  std::error_code failure;
  fs::create_directories(folder, failure);
  if (failure || !fs::is_directory(folder)) {
    error = "cannot make the frames folder " + folder + (failure ? ": " + failure.message() : "");
    return false;
  }
  return ProbeFile((fs::path(folder) / ".kelvane-render-probe").string(), error);
}

class FramesFolder : public FrameOutput {
 public:
  explicit FramesFolder(std::string folder) : folder_(std::move(folder)) {}
  bool Open(const OutputRange&, std::string&) override { return true; }
  bool Add(std::int64_t index, const Picture& picture, std::string& error) override {
    return WritePng((fs::path(folder_) / FrameFileName(index)).string(), picture, error);
  }
  bool Finish(std::string&) override { return true; }

 private:
  std::string folder_;
};

// Frames for the main process of a render with --jobs, which feeds them to its one video encoder:
// RGB bytes, each file complete under its name once it is there (written aside, then renamed).
class RawFramesFolder : public FrameOutput {
 public:
  explicit RawFramesFolder(std::string folder) : folder_(std::move(folder)) {}
  bool Open(const OutputRange&, std::string&) override { return true; }
  bool Add(std::int64_t index, const Picture& picture, std::string& error) override {
    const std::string path = RawFramePath(folder_, index);
    const std::string aside = path + ".part";
    std::FILE* file = std::fopen(aside.c_str(), "wb");
    bool written = file && std::fwrite(picture.pixels.data(), 1, picture.pixels.size(), file) == picture.pixels.size();
    if (file) written = std::fclose(file) == 0 && written;
    if (written && std::rename(aside.c_str(), path.c_str()) == 0) return true;
    error = "cannot write " + aside + ": " + std::strerror(errno);
    return false;
  }
  bool Finish(std::string&) override { return true; }

 private:
  std::string folder_;
};

class SinglePicture : public FrameOutput {
 public:
  explicit SinglePicture(std::string path) : path_(std::move(path)) {}
  bool Open(const OutputRange&, std::string&) override { return true; }
  bool Add(std::int64_t, const Picture& picture, std::string& error) override {
    return WritePng(path_, picture, error);
  }
  bool Finish(std::string&) override { return true; }

 private:
  std::string path_;
};

class VideoOutput : public FrameOutput {
 public:
  explicit VideoOutput(std::string path) : path_(std::move(path)) {}

  bool Open(const OutputRange& range, std::string& error) override {
    range_ = range;
    const VideoFormat format{range.width, range.height, range.fps, range.music != nullptr};
    file_ = VideoFile::Create(path_, format, error);
    return file_ != nullptr;
  }

  // Frame k carries the music from AudioFramesBefore(k) to AudioFramesBefore(k + 1).
  bool Add(std::int64_t index, const Picture& picture, std::string& error) override {
    if (!file_->AddFrame(picture.pixels.data(), error)) return false;
    if (!range_.music) return true;
    const std::int64_t begin = AudioFramesBefore(index, range_.fps);
    const std::int64_t end = AudioFramesBefore(index + 1, range_.fps);
    const std::vector<float> audio = range_.music->StereoFrames(StreamFrameAtTime(range_.from) + begin, end - begin);
    return file_->AddAudio(audio.data(), std::size_t(end - begin), error);
  }

  bool Finish(std::string& error) override { return file_->Finish(error); }

 private:
  std::string path_;
  OutputRange range_;
  std::unique_ptr<VideoFile> file_;
};

}  // namespace

std::string FrameFileName(std::int64_t index) {
  char name[40];
  std::snprintf(name, sizeof name, "frame-%06lld.png", static_cast<long long>(index));
  return name;
}

std::int64_t AudioFramesBefore(std::int64_t frames, std::int32_t fps) { return frames * kMusicMixRate / fps; }

std::string RawFramePath(const std::string& folder, std::int64_t index) {
  char name[40];
  std::snprintf(name, sizeof name, "frame-%06lld.rgb", static_cast<long long>(index));
  return (fs::path(folder) / name).string();
}

bool CheckOutputWritable(RenderOutput kind, const std::string& path, std::string& error) {
  if (kind == RenderOutput::Frames || kind == RenderOutput::RawFrames) return PrepareFramesFolder(path, error);
  return ProbeFile(path, error);
}

std::unique_ptr<FrameOutput> MakeFrameOutput(RenderOutput kind, const std::string& path) {
  switch (kind) {
    case RenderOutput::Frames: return std::make_unique<FramesFolder>(path);
    case RenderOutput::Video: return std::make_unique<VideoOutput>(path);
    case RenderOutput::SinglePicture: return std::make_unique<SinglePicture>(path);
    case RenderOutput::RawFrames: return std::make_unique<RawFramesFolder>(path);
  }
  return nullptr;
}
