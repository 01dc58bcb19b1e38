// Pictures from the texture generator: a program in the text form of `texgen compile`, read from
// the assets folder and run at the size asked for.
#pragma once

#include <string>

#include "tools/make-pictures/canvas.h"

// Throws std::runtime_error naming the file (and the line) when it cannot be read, compiled or run.
Canvas RunTexgenProgram(const std::string& path, int width, int height);
