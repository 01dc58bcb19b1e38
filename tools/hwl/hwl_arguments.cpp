#include "tools/hwl/hwl_arguments.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tools/hwl/hwl_commands.h"

bool WantsHelp(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--help" || argument == "-h") return true;
  }
  return false;
}

std::optional<int> ParseInt(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < -1000000 || value > 1000000) return std::nullopt;
  return static_cast<int>(value);
}

std::optional<double> ParseDouble(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<std::vector<int>> ParseIntList(const std::string& text) {
  std::vector<int> numbers;
  std::stringstream stream(text);
  std::string item;
  while (std::getline(stream, item, ',')) {
    const std::optional<int> number = ParseInt(item);
    if (!number) return std::nullopt;
    numbers.push_back(*number);
  }
  if (text.empty() || text.back() == ',') return std::nullopt;
  return numbers;
}

int UsageError(const std::string& verb, const std::string& message, const char* usage) {
  std::fprintf(stderr, "hwl %s: %s\n\n%s", verb.c_str(), message.c_str(), usage);
  return kUsageExit;
}

int CommandFailure(const std::string& verb, const std::string& message) {
  std::fprintf(stderr, "hwl %s: %s\n", verb.c_str(), message.c_str());
  return kFailureExit;
}

int IoErrorExit(const Failure& failure) {
  std::fprintf(stderr, "%s\n", failure.Text().c_str());
  return static_cast<int>(failure.code);
}
