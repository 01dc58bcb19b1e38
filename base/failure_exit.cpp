#include "base/failure_trap.h"

#include <cstdio>
#include <cstdlib>

#include "base/diagnostics.h"

namespace {
EmergencyRelease registeredRelease = nullptr;
int trapDepth = 0;
}  // namespace

void RegisterEmergencyRelease(EmergencyRelease release) { registeredRelease = release; }

void LeaveOnFailure(int exitCode) {
  // Take the release out first: a failure inside the release itself must not loop back into it.
  EmergencyRelease release = registeredRelease;
  registeredRelease = nullptr;
  if (release) release();
  std::fflush(nullptr);
  std::exit(exitCode);
}

FatalErrorRaised::FatalErrorRaised(std::string module_, std::string message_)
    : std::runtime_error(module_ + ": " + message_), module(std::move(module_)), message(std::move(message_)) {}

IoErrorRaised::IoErrorRaised(int code_, std::string file_, std::string text)
    : std::runtime_error(std::move(text)), code(code_), file(std::move(file_)) {}

FailureTrap::FailureTrap() { ++trapDepth; }
FailureTrap::~FailureTrap() { --trapDepth; }
bool FailuresAreTrapped() { return trapDepth > 0; }
