// Command-line helpers shared by the hwl verbs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/diagnostics.h"

bool WantsHelp(const std::vector<std::string>& arguments);

// Whole-string numbers; nothing for anything else ("8x", "", "1e999" as an int).
std::optional<int> ParseInt(const std::string& text);
std::optional<double> ParseDouble(const std::string& text);

// "8" or "8,6,6" into one or three ints.
std::optional<std::vector<int>> ParseIntList(const std::string& text);

// Prints "hwl <verb>: <message>" to standard error, then the verb's usage, and returns kUsageExit.
int UsageError(const std::string& verb, const std::string& message, const char* usage);
// Prints "hwl <verb>: <message>" to standard error and returns kFailureExit.
int CommandFailure(const std::string& verb, const std::string& message);
// Prints the runtime I/O error's line ("I/O error 2 (file not found): x.hwl") to standard error, as
// the engine reports it, and returns its code as the exit code.
int IoErrorExit(const Failure& failure);
