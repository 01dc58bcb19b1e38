// The result of a generator entry point: success, or a message saying what was refused and where.
#pragma once

#include <string>
#include <utility>

struct TexgenStatus {
  std::string error;  // empty on success

  static TexgenStatus Ok() { return {}; }
  static TexgenStatus Fail(std::string message) { return TexgenStatus{std::move(message)}; }
  bool ok() const { return error.empty(); }
};
