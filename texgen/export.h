// The text form of operations: one call per operation, e.g. "blurLayer(1,2);".
#pragma once

#include <cstdint>
#include <string>

#include "texgen/oplist.h"

// The call text of one operation; a code without an operation gives a single space.
// Integer arguments are the truncated parameter in full (the operation itself keeps its low 32
// bits); reals are written with "." and 15 significant digits without trailing zeros, whatever
// the locale.
std::string ExportOp(std::int32_t code, const OpParams& params);

// A real argument as ExportOp writes it.
std::string FormatReal(float value);

// The whole program in the form the text compiler reads: for each list a line "list N", then one
// line per operation in use. A slot whose code has no operation becomes a comment line.
std::string ExportProgram(const TexgenProgram& program);
