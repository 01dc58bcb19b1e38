// The verbs of the hwl tool. Each takes the arguments after its own name, prints what it did or a
// message naming the file and the reason, and returns the process exit code.
#pragma once

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

int RunEncode(const Arguments& arguments);
int RunDecode(const Arguments& arguments);
int RunInfo(const Arguments& arguments);

extern const char* const kEncodeUsage;
extern const char* const kDecodeUsage;
extern const char* const kInfoUsage;

inline constexpr int kUsageExit = 2;     // the command line was wrong
inline constexpr int kFailureExit = 1;   // a file could not be read, written or coded
