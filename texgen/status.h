// The result of a generator entry point: success, or a message saying what was refused and where.
#pragma once

#include <string>
#include <utility>

struct Status {
  std::string error;  // empty on success

  static Status Ok() { return {}; }
  static Status Fail(std::string message) { return Status{std::move(message)}; }
  bool ok() const { return error.empty(); }
};
