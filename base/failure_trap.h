// For tests and fuzzers of the engine's own exiting paths: while a FailureTrap lives, FatalError and
// IoError throw instead of writing, releasing and exiting, so the caller sees what would have ended
// the program. Production code never creates one.
#pragma once

#include <stdexcept>
#include <string>

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

class FailureTrap {
 public:
  FailureTrap();
  ~FailureTrap();
  FailureTrap(const FailureTrap&) = delete;
  FailureTrap& operator=(const FailureTrap&) = delete;
};

bool FailuresAreTrapped();
