#include "base/diagnostics.h"

Failure Failure::Fatal(std::string module, std::string message) {
  Failure failure;
  failure.kind = Kind::Fatal;
  failure.module = std::move(module);
  failure.message = std::move(message);
  return failure;
}

Failure Failure::Io(IoErrorCode code, std::string file) {
  Failure failure;
  failure.kind = Kind::Io;
  failure.code = code;
  failure.file = std::move(file);
  return failure;
}

Failure Failure::IoFromErrno(std::string file, int error, IoAccess access) {
  const IoErrorCode code = IoErrorCodeFromErrno(file, error, access);
  return Io(code, std::move(file));
}

std::string Failure::Text() const {
  if (kind == Kind::Io) return IoErrorText(code, file);
  return module + ": " + message;
}

void ReportFailure(const Failure& failure) {
  if (failure.kind == Failure::Kind::Io) IoError(failure.file, failure.code);
  FatalError(failure.module.c_str(), failure.message.c_str());
}
