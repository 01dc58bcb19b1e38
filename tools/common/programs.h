// The project's other programs, for a tool that runs them in the background.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Where the build tree puts NAME beside the running program (build/tools/NAME/NAME), or beside it in
// the same folder (an install); else the bare name, for PATH.
std::string ProgramBeside(const std::string& name);

// Starts words[0] (searched on PATH when it has no slash) with the other words as its arguments,
// nothing on its input and output, and its standard error into the file `errors` (created anew;
// "/dev/null" to drop it). The child's process id, or -1 when it could not be started.
pid_t StartProgram(std::vector<std::string> words, const std::string& errors);
