// The dispatch table: which operation each code runs and how its parameters become arguments.
//
// The same table drives the dispatcher, the text form (ExportOp) and the text compiler, so the
// three can never disagree on names, argument order or argument kinds.
#pragma once

#include <cstdint>
#include <string_view>

#include "texgen/oplist.h"
#include "texgen/status.h"

enum class ArgKind {
  Layer,       // a layer index: truncated parameter, must lie in 0 to 5
  Int,         // truncated parameter
  Real,        // the single-precision parameter
  Flag,        // true exactly when the parameter is 1.0
  Difference,  // parameter `param` minus parameter `base`, single (mandelBrot's width, height)
  Fixed,       // a constant that is not read from the block (mandelBrot's bailout 16)
};

struct OpArg {
  ArgKind kind;
  int param;
  const char* name;
  int base = 0;  // Difference only
};

inline constexpr int kMaxOpArgs = 10;
inline constexpr float kMandelBailout = 16.0f;

struct OpInfo {
  std::int32_t code;
  const char* name;
  int argCount;
  OpArg args[kMaxOpArgs];
  void (*run)(const OpParams& p);
};

// The operation of `code`, or nullptr for a code without one (negative, 9, 18, 19, 27-29, > 51).
const OpInfo* FindOp(std::int32_t code);
const OpInfo* FindOpByName(std::string_view name);

// Whether every layer argument of the operation lies in 0 to 5 (always fine for a code without
// one).
TexgenStatus CheckOpLayers(std::int32_t code, const OpParams& params);

// Runs one operation. A code without an operation does nothing; an operation with a layer index
// outside 0 to 5, or layers that are not allocated, is refused and does nothing.
TexgenStatus RunOp(std::int32_t code, const OpParams& params);

// mandelBrot's width and height: the difference of two parameters in extended precision, as single.
inline float MandelSpan(float end, float start) {
  return static_cast<float>(static_cast<long double>(end) - start);
}
