#include "base/diagnostics.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool logStarted = false;

void WriteLine(std::string_view text, std::int32_t number) {
  const char* mode = logStarted ? "ab" : "wb";
  const std::string path = ReportFilePath(kDebugLogFile);
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (!file) IoErrorFromErrno(path, errno, IoAccess::Write);
  logStarted = true;

  std::string line(text);
  line += " | ";
  line += std::to_string(number);
  line += "\r\n";
  const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) IoError(path, IoErrorCode::WriteFault);
}

}  // namespace

void DebugLog(std::string_view text, std::int32_t number) {
  WriteLine(text.substr(0, kMaxLogText), number);
}

void DebugLogCString(const char* text, std::int32_t number) { WriteLine(text ? text : "", number); }
