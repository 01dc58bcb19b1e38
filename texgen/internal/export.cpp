#include <charconv>

#include "texgen/internal/dispatch.h"
#include "texgen/internal/numeric.h"
#include "texgen/texgen.h"

namespace {

// A real argument: "." and 15 significant digits without trailing zeros, whatever the locale.
std::string FormatReal(float value) {
  // to_chars never consults the locale, so the separator is always ".". The single is widened to
  // double exactly before it is printed.
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                    std::chars_format::general, 15);
  return std::string(text, result.ptr);
}

std::string FormatArg(const OpArg& arg, const OpParams& p) {
  switch (arg.kind) {
    case ArgKind::kLayer:
    case ArgKind::kInt:
      return std::to_string(TruncateReal(p[arg.param]));
    case ArgKind::kReal:
      return FormatReal(p[arg.param]);
    case ArgKind::kFlag:
      return ParamFlag(p[arg.param]) ? "true" : "false";
    case ArgKind::kDifference:
      return FormatReal(MandelSpan(p[arg.param], p[arg.base]));
    case ArgKind::kFixed:
      return FormatReal(kMandelBailout);
  }
  return {};
}

}  // namespace

std::string ExportOp(std::int32_t code, const OpParams& params) {
  const OpInfo* op = FindOp(code);
  if (op == nullptr) return " ";
  std::string text = std::string(op->name) + "(";
  for (int i = 0; i < op->argCount; ++i) {
    if (i > 0) text += ",";
    text += FormatArg(op->args[i], params);
  }
  return text + ");";
}

std::string ExportProgram(const TexgenProgram& program) {
  std::string text;
  for (int list = 0; list < kListCount; ++list) {
    text += "list " + std::to_string(list) + "\n";
    const OpList& ops = program[list];
    for (int slot = 0; slot < ops.count && slot < kListSlots; ++slot) {
      if (FindOp(ops.codes[slot]) == nullptr) {
        text += "# slot " + std::to_string(slot) + ": code " + std::to_string(ops.codes[slot]) +
                " has no operation\n";
        continue;
      }
      text += ExportOp(ops.codes[slot], ops.params[slot]) + "\n";
    }
  }
  return text;
}
