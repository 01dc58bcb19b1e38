// Another of the project's programs, for a tool that runs it: where the build tree puts it beside
// the running program (build/tools/NAME/NAME), or beside it in the same folder (an install); else
// the bare name, for PATH.
#pragma once

#include <string>

std::string ProgramBeside(const std::string& name);
