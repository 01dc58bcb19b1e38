// base: the diagnostics every other part of the engine stands on. It includes nothing of the engine.
//
// The start-up trace, "debug.txt"
//   DebugLog writes one line: the text, " | ", the number in decimal, CR LF. The first line of a run
//   creates the file anew; every line opens and closes the file, so each line is on disk when the
//   call returns, also if the program dies right after. A run that never logs leaves the file as it
//   was. Texts are cut to 255 characters (DebugLogCString writes a C string whole).
//
// The fatal error report, "error.txt"
//   FatalError(module, message) writes four CR LF lines to "error.txt":
//       Sorry, but the following module had something to say:
//       <empty line>
//       <module>
//       <message>
//   prints the same four lines to standard error, runs the emergency release (the window module's:
//   context and window released, display mode restored, cursor shown) and exits with code 1.
//
// The runtime I/O error
//   IoError(file, code) prints "I/O error <code> (<reason>): <file>" to standard error, runs the
//   emergency release and exits with the code itself (2, 3, 5, 100 or 101).
//
// Who may end the process: only these two services, and only when the engine's own code calls them.
// Pure libraries (the codec, the texture generator, the script parser, the timeline) never do: they
// return a Failure, and the engine's call site hands it to ReportFailure, which ends the program
// exactly as the service named in it would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

// ---- The start-up trace ----

inline constexpr const char* kDebugLogFile = "debug.txt";
inline constexpr std::size_t kMaxLogText = 255;  // strings handed between modules are cut here
// The line that closes each block of the trace (a texture, the script).
inline constexpr const char* kLogSeparator = "--------------------------";

void DebugLog(std::string_view text, std::int32_t number);
void DebugLogCString(const char* text, std::int32_t number);

// ---- The fatal error report ----

inline constexpr const char* kErrorReportFile = "error.txt";
inline constexpr int kFatalErrorExitCode = 1;

[[noreturn]] void FatalError(const char* module, const char* message);

// ---- Where the two reports go ----

// Both files are written into the working directory, unless the program names another folder here
// before the first report: the installed demo, whose working directory is its read-only content,
// sends them to the user's state folder. The path of a report file then leads with that folder.
void SetReportFolder(std::string folder);
std::string ReportFilePath(const char* name);

// ---- The runtime I/O error ----

enum class IoErrorCode : int {
  FileNotFound = 2,
  PathNotFound = 3,
  AccessDenied = 5,
  ReadPastEnd = 100,  // read past the end, short file, or the device failed while reading
  WriteFault = 101,
};

enum class IoAccess { Read, Write };

const char* IoErrorReason(IoErrorCode code);  // "file not found", ...
// "I/O error 2 (file not found): data/flower1.hwl"
std::string IoErrorText(IoErrorCode code, const std::string& file);
// The code for an errno left by a failed open, read or write: a missing file in an existing folder
// is "file not found" when reading, a missing folder "path not found".
IoErrorCode IoErrorCodeFromErrno(const std::string& file, int error, IoAccess access);

[[noreturn]] void IoError(const std::string& file, IoErrorCode code);
[[noreturn]] void IoErrorFromErrno(const std::string& file, int error, IoAccess access);

// ---- Failures handed back by pure libraries ----

// Either a fatal error report (module and message) or a runtime I/O error (code and file).
struct Failure {
  enum class Kind { Fatal, Io };
  Kind kind = Kind::Fatal;
  std::string module;   // Fatal
  std::string message;  // Fatal
  IoErrorCode code = IoErrorCode::ReadPastEnd;  // Io
  std::string file;                             // Io

  static Failure Fatal(std::string module, std::string message);
  static Failure Io(IoErrorCode code, std::string file);
  static Failure IoFromErrno(std::string file, int error, IoAccess access);
  // "module: message", or the I/O error's text: for tools that report on their own.
  std::string Text() const;
  bool operator==(const Failure&) const = default;
};

// Nothing, or what went wrong.
using MaybeFailure = std::optional<Failure>;

// Ends the program through FatalError or IoError, as the failure says.
[[noreturn]] void ReportFailure(const Failure& failure);

// ---- Reading files whose every failure is the runtime I/O error ----

// For the engine's own reads (a tool's reads return failures instead, see the codec). Callers read
// exact byte counts and never see a short read.
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

// ---- How the program leaves ----

// The window module registers the one release that the failure paths run before exiting.
using EmergencyRelease = void (*)();
void RegisterEmergencyRelease(EmergencyRelease release);
// Runs the registered release (once) and ends the process with `exitCode`.
[[noreturn]] void LeaveOnFailure(int exitCode);
