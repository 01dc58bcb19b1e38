// The start-up trace, "debug.txt".
//
// One call writes one line: the text, " | ", the number in decimal, CR LF. The first line of a run
// creates the file anew (the previous run's trace is lost); every line opens and closes the file, so
// each line is on disk when the call returns, also if the program dies right after. Nothing touches
// the file before the first call, so a run that ends in the Config dialog leaves it as it was.
//
// A file that cannot be created or written ends the program through the runtime I/O error.
#pragma once

#include <cstdint>
#include <string_view>

inline constexpr const char* kDebugLogFile = "debug.txt";
inline constexpr std::size_t kMaxLogText = 255;  // strings handed between modules are cut here

// Writes `text` cut to 255 characters.
void DebugLog(std::string_view text, std::int32_t number);

// Writes `text` whole, however long (the music file name comes this way).
void DebugLogCString(const char* text, std::int32_t number);

// The line that closes each block of the trace (a texture, the script).
inline constexpr const char* kLogSeparator = "--------------------------";
