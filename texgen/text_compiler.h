// The reverse of ExportProgram: reads program text and builds the five lists.
//
// One call per line in the form ExportOp writes ("blurLayer(1,2);", the ";" may be left out),
// a line "list N" (N from 0 to 4) switches the list that the following calls append to (list 0
// until the first such line), "#" starts a comment that runs to the end of the line, blank lines
// are skipped. Calls are stored in the order given, without running and without the restart that
// AddOp gives a generator; unused slots and parameters are 0.
#pragma once

#include <string>
#include <string_view>

#include "texgen/oplist.h"

struct TexgenCompileResult {
  bool ok = true;
  int line = 0;         // 1-based line of the first error
  std::string message;  // what is wrong on that line
};

TexgenCompileResult CompileProgramText(std::string_view text, TexgenProgram& program);
