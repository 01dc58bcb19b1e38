// The runtime I/O error: a file below the engine's services that cannot be opened, read or written.
//
// This is the one place that reports it. It prints a message naming the file and the reason to
// standard error, releases the window and restores the display mode (see failure_exit.h), and ends
// the program with the runtime's I/O error code as the exit code.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

enum class IoErrorCode : int {
  FileNotFound = 2,
  PathNotFound = 3,
  AccessDenied = 5,
  ReadPastEnd = 100,  // read past the end, short file, or the device failed while reading
  WriteFault = 101,
};

enum class IoAccess { Read, Write };

// "file not found", "path not found", ... for the message.
const char* IoErrorReason(IoErrorCode code);

// The message printed to standard error, e.g.
//   I/O error 2 (file not found): data/flower1.hwl
std::string IoErrorText(IoErrorCode code, const std::string& file);

[[noreturn]] void IoError(const std::string& file, IoErrorCode code);

// Maps an errno left by a failed open (or read/write) to the runtime's code and reports it.
[[noreturn]] void IoErrorFromErrno(const std::string& file, int error, IoAccess access);
IoErrorCode IoErrorCodeFromErrno(const std::string& file, int error, IoAccess access);

// A binary input file whose failures all go through IoError, so callers read exact byte counts and
// never see a short read.
class InputFile {
 public:
  explicit InputFile(std::string path);  // opens for reading or reports code 2, 3 or 5
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Reads exactly `size` bytes; a file that ends earlier is code 100.
  void Read(void* destination, std::size_t size);
  // Reads up to `size` bytes and returns how many arrived; only a device failure is an error.
  std::size_t ReadSome(void* destination, std::size_t size);
  // Bytes from the current position to the end of the file.
  std::size_t Remaining();

  std::FILE* handle() { return file_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::FILE* file_;
};
