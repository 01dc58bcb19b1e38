// The fatal error report: the one way the program fails.
//
// FatalError writes "error.txt" (CR LF lines):
//     Sorry, but the following module had something to say:
//     <empty line>
//     <module>
//     <message>
// prints the same four lines to standard error, releases the context and the window, restores the
// display mode and shows the cursor again, and ends the program with exit code 1, so that a failed
// run never looks like a successful one to whoever started it. Nothing is written to "debug.txt" and
// no other object is released. Safe at any point: before the window exists, while it is being made,
// and during the frame loop.
#pragma once

inline constexpr const char* kErrorReportFile = "error.txt";
inline constexpr int kFatalErrorExitCode = 1;

[[noreturn]] void FatalError(const char* module, const char* message);
