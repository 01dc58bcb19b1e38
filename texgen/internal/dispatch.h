// The dispatch table: which operation each code runs and how its parameters become arguments.
//
// The same table drives the dispatcher, the text form (ExportOp) and the text compiler, so the
// three can never disagree on names, argument order or argument kinds.
#pragma once

#include <cstdint>
#include <string_view>

#include "texgen/texgen.h"

enum class ArgKind {
  kLayer,       // a layer index: truncated parameter, must lie in 0 to 5
  kInt,         // truncated parameter
  kReal,        // the single-precision parameter
  kFlag,        // true exactly when the parameter is 1.0
  kDifference,  // parameter `param` minus parameter `base`, single (mandelBrot's width, height)
  kFixed,       // a constant that is not read from the block (mandelBrot's bailout 16)
};

struct OpArg {
  ArgKind kind;
  int param;
  const char* name;
  int base = 0;  // kDifference only
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

// Runs slots 0 to count - 1 of list `list` of the generator's state in order; a refusal names the
// list and the slot and stops the run.
TexgenStatus RunList(int list, std::int32_t count);

// mandelBrot's width and height: the difference of two parameters in extended precision, as single.
inline float MandelSpan(float end, float start) {
  return static_cast<float>(static_cast<long double>(end) - start);
}
