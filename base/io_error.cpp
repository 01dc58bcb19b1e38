#include "base/diagnostics.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "base/failure_trap.h"

const char* IoErrorReason(IoErrorCode code) {
  switch (code) {
    case IoErrorCode::FileNotFound: return "file not found";
    case IoErrorCode::PathNotFound: return "path not found";
    case IoErrorCode::AccessDenied: return "access denied";
    case IoErrorCode::ReadPastEnd: return "read past the end of the file";
    case IoErrorCode::WriteFault: return "write error";
  }
  return "unknown I/O error";
}

std::string IoErrorText(IoErrorCode code, const std::string& file) {
  return "I/O error " + std::to_string(static_cast<int>(code)) + " (" + IoErrorReason(code) + "): " + file;
}

void IoError(const std::string& file, IoErrorCode code) {
  const std::string text = IoErrorText(code, file);
  if (FailuresAreTrapped()) throw IoErrorRaised(static_cast<int>(code), file, text);
  std::fprintf(stderr, "%s\n", text.c_str());
  LeaveOnFailure(static_cast<int>(code));
}

namespace {

// A missing file in an existing folder is "file not found"; a missing folder is "path not found".
bool ParentFolderExists(const std::string& file) {
  std::filesystem::path parent = std::filesystem::path(file).parent_path();
  if (parent.empty()) return true;
  struct stat info {};
  return stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

IoErrorCode IoErrorCodeFromErrno(const std::string& file, int error, IoAccess access) {
  switch (error) {
    case ENOENT:
      if (!ParentFolderExists(file)) return IoErrorCode::PathNotFound;
      return access == IoAccess::Read ? IoErrorCode::FileNotFound : IoErrorCode::PathNotFound;
    case ENOTDIR: return IoErrorCode::PathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return IoErrorCode::AccessDenied;
    default: return access == IoAccess::Read ? IoErrorCode::ReadPastEnd : IoErrorCode::WriteFault;
  }
}

void IoErrorFromErrno(const std::string& file, int error, IoAccess access) {
  IoError(file, IoErrorCodeFromErrno(file, error, access));
}

InputFile::InputFile(std::string path) : path_(std::move(path)), file_(std::fopen(path_.c_str(), "rb")) {
  if (!file_) IoErrorFromErrno(path_, errno, IoAccess::Read);
  // fopen succeeds on a folder; the first read would fail with EISDIR. Refuse it here by name.
  struct stat info {};
  if (fstat(fileno(file_), &info) == 0 && S_ISDIR(info.st_mode)) {
    std::fclose(file_);
    file_ = nullptr;
    IoError(path_, IoErrorCode::AccessDenied);
  }
}

InputFile::~InputFile() {
  if (file_) std::fclose(file_);
}

void InputFile::Read(void* destination, std::size_t size) {
  if (ReadSome(destination, size) != size) IoError(path_, IoErrorCode::ReadPastEnd);
}

std::size_t InputFile::ReadSome(void* destination, std::size_t size) {
  const std::size_t got = std::fread(destination, 1, size, file_);
  if (got < size && std::ferror(file_)) IoError(path_, IoErrorCode::ReadPastEnd);
  return got;
}

std::size_t InputFile::Remaining() {
  const long here = std::ftell(file_);
  struct stat info {};
  if (here < 0 || fstat(fileno(file_), &info) != 0 || info.st_size < here) return 0;
  return static_cast<std::size_t>(info.st_size - here);
}
