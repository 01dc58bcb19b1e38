#include "tools/common/seek_notes.h"

#include <GL/gl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr const char* kFirstLine = "kelvane seek notes 1";

// FNV-1a, 64 bits: enough to tell builds, scripts and sizes apart, and the same on every run.
class Fingerprint {
 public:
  void Add(const std::string& text) {
    for (unsigned char c : text) hash_ = (hash_ ^ c) * 0x100000001b3ULL;
    hash_ = (hash_ ^ 0xff) * 0x100000001b3ULL;  // ends each part, so "ab"+"c" differs from "a"+"bc"
  }
  std::string Hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash_));
    return text;
  }

 private:
  std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

std::string GlText(GLenum name) {
  const GLubyte* text = glGetString(name);
  return text ? reinterpret_cast<const char*>(text) : "";
}

// A program's build: its file's size and time of change.
std::string ProgramBuild(const std::string& program) {
  struct stat status{};
  if (stat(program.c_str(), &status) != 0) return "";
  return std::to_string(status.st_size) + "/" + std::to_string(status.st_mtim.tv_sec) + "." +
         std::to_string(status.st_mtim.tv_nsec);
}

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

fs::path CacheFolder() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && cache[0] == '/') return fs::path(cache) / "kelvane" / "seek";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return fs::path(home) / ".cache" / "kelvane" / "seek";
  return {};
}

VertexBufferFills ReadNotes(const std::string& path) {
  std::istringstream text(FileText(path));
  std::string line;
  if (!std::getline(text, line) || line != kFirstLine) return {};
  VertexBufferFills fills;
  while (std::getline(text, line)) {
    char* end = nullptr;
    const long long fill = std::strtoll(line.c_str(), &end, 10);
    if (line.empty() || *end != '\0' || fill < -1 || fill > INT32_MAX) return {};
    fills.push_back(fill);
  }
  return fills;
}

}  // namespace

SeekNotes::SeekNotes(const std::string& renderer, std::int32_t fps, std::int32_t width, std::int32_t height) {
  const fs::path folder = CacheFolder();
  if (folder.empty()) return;
  Fingerprint key;
  for (const std::string& part : {std::string(kFirstLine), ProgramBuild(renderer), GlText(GL_VENDOR), GlText(GL_RENDERER),
                                  GlText(GL_VERSION), FileText("script.dlx"), std::to_string(fps),
                                  std::to_string(width) + "x" + std::to_string(height)})
    key.Add(part);
  path_ = (folder / (key.Hex() + ".txt")).string();
  fills_ = ReadNotes(path_);
}

void SeekNotes::Save() const {
  if (path_.empty() || fills_.empty()) return;
  std::error_code ignored;
  fs::create_directories(fs::path(path_).parent_path(), ignored);
  const std::string staged = path_ + "." + std::to_string(getpid());
  {
    std::ofstream file(staged, std::ios::trunc);
    file << kFirstLine << '\n';
    for (std::int64_t fill : fills_) file << fill << '\n';
    if (!file.flush()) {
      fs::remove(staged, ignored);
      return;
    }
  }
  fs::rename(staged, path_, ignored);  // whole or not at all, whichever worker writes last
  if (ignored) fs::remove(staged, ignored);
}
