#include "base/diagnostics.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "base/failure_trap.h"

namespace {

std::string ReportText(const char* module, const char* message, const char* newline) {
  std::string text = "Sorry, but the following module had something to say:";
  text += newline;
  text += newline;
  text += module;
  text += newline;
  text += message;
  text += newline;
  return text;
}

void WriteReportFile(const std::string& text) {
  const std::string path = ReportFilePath(kErrorReportFile);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) IoErrorFromErrno(path, errno, IoAccess::Write);
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) IoError(path, IoErrorCode::WriteFault);
}

}  // namespace

void FatalError(const char* module, const char* message) {
  if (!module) module = "";
  if (!message) message = "";
  if (FailuresAreTrapped()) throw FatalErrorRaised(module, message);
  WriteReportFile(ReportText(module, message, "\r\n"));
  std::fputs(ReportText(module, message, "\n").c_str(), stderr);
  LeaveOnFailure(kFatalErrorExitCode);
}
