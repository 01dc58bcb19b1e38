// How the program leaves when something fails.
//
// Both failure services (the fatal error report and the runtime I/O error) end the same way: the
// window and its context are released, the desktop's display mode is restored, and the process exits
// with the service's code. The window module registers that release here, so these services stay
// free of any platform code and can be linked into pure libraries and tools.
//
// Tests and fuzzers can instead turn a failure into a C++ exception with a FailureTrap: nothing is
// written, nothing is released, and the caller sees what would have ended the program.
#pragma once

#include <stdexcept>
#include <string>

// Called once on the failure path, before exit. Only one releaser exists (the window's).
using EmergencyRelease = void (*)();
void RegisterEmergencyRelease(EmergencyRelease release);

// Runs the registered release (once) and ends the process with `exitCode`.
[[noreturn]] void LeaveOnFailure(int exitCode);

// Thrown instead of exiting while a FailureTrap is alive.
struct FatalErrorRaised : std::runtime_error {
  FatalErrorRaised(std::string module, std::string message);
  std::string module;
  std::string message;
};

struct IoErrorRaised : std::runtime_error {
  IoErrorRaised(int code, std::string file, std::string text);
  int code;
  std::string file;
};

// While an instance lives, FatalError and IoError throw instead of reporting and exiting.
class FailureTrap {
 public:
  FailureTrap();
  ~FailureTrap();
  FailureTrap(const FailureTrap&) = delete;
  FailureTrap& operator=(const FailureTrap&) = delete;
};

bool FailuresAreTrapped();
