#include <charconv>
#include <cstdint>
#include <vector>

#include "texgen/internal/dispatch.h"
#include "texgen/internal/layers.h"
#include "texgen/texgen.h"

namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view StripComment(std::string_view line) {
  const std::size_t hash = line.find('#');
  return hash == std::string_view::npos ? line : line.substr(0, hash);
}

bool ParseInteger(std::string_view s, std::int64_t& value) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  const auto r = std::from_chars(s.data(), s.data() + s.size(), value);
  return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool ParseFloat(std::string_view s, float& value) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  const auto r = std::from_chars(s.data(), s.data() + s.size(), value);
  return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

std::vector<std::string_view> SplitArgs(std::string_view s) {
  std::vector<std::string_view> parts;
  if (Trim(s).empty()) return parts;
  for (;;) {
    const std::size_t comma = s.find(',');
    parts.push_back(Trim(s.substr(0, comma)));
    if (comma == std::string_view::npos) return parts;
    s.remove_prefix(comma + 1);
  }
}

bool IsListLine(std::string_view line) {
  return line.substr(0, 4) == "list" && (line.size() == 4 || line[4] == ' ' || line[4] == '\t');
}

class Compiler {
 public:
  explicit Compiler(TexgenProgram& program) : program_(program) { program_ = TexgenProgram{}; }

  // Returns the message of what is wrong with the line, or an empty string.
  std::string Line(std::string_view line) {
    line = Trim(StripComment(line));
    if (line.empty()) return {};
    if (IsListLine(line)) return SwitchList(Trim(line.substr(4)));
    return Call(line);
  }

 private:
  std::string SwitchList(std::string_view number) {
    std::int64_t n = 0;
    if (!ParseInteger(number, n) || n < 0 || n >= kListCount) {
      return "\"list\" needs a list number from 0 to 4, found \"" + std::string(number) + "\"";
    }
    list_ = static_cast<int>(n);
    return {};
  }

  std::string Call(std::string_view line) {
    if (line.back() == ';') line = Trim(line.substr(0, line.size() - 1));
    const std::size_t open = line.find('(');
    if (open == std::string_view::npos || line.back() != ')') {
      return "expected an operation call such as \"blurLayer(1,2);\", found \"" +
             std::string(line) + "\"";
    }
    const std::string_view name = Trim(line.substr(0, open));
    const OpInfo* op = FindOpByName(name);
    if (op == nullptr) return "unknown operation \"" + std::string(name) + "\"";
    const auto args = SplitArgs(line.substr(open + 1, line.size() - open - 2));
    if (static_cast<int>(args.size()) != op->argCount) {
      return std::string(op->name) + " takes " + std::to_string(op->argCount) +
             " arguments, found " + std::to_string(args.size());
    }
    OpParams params{};
    for (int i = 0; i < op->argCount; ++i) {
      std::string problem = Argument(op->args[i], args[i], params);
      if (!problem.empty()) {
        return std::string(op->name) + " argument " + std::to_string(i + 1) + " (" +
               op->args[i].name + "): " + problem;
      }
    }
    OpList& list = program_[list_];
    if (list.count >= kListSlots)
      return "list " + std::to_string(list_) + " is full (100 operations)";
    list.codes[list.count] = op->code;
    list.params[list.count] = params;
    ++list.count;
    return {};
  }

  static std::string Argument(const OpArg& arg, std::string_view text, OpParams& params) {
    // Appended rather than "\"" + std::string(text): GCC 12 at -O3 takes a literal put in front of a
    // temporary string for an overlapping copy (-Wrestrict, a false positive).
    std::string shown = "\"";
    shown.append(text).append("\"");
    switch (arg.kind) {
      case ArgKind::kLayer:
      case ArgKind::kInt: {
        std::int64_t n = 0;
        if (!ParseInteger(text, n)) {
          return "expected an integer, found " + shown;
        }
        if (arg.kind == ArgKind::kLayer && !ValidLayer(static_cast<std::int32_t>(n))) {
          return "layer " + std::to_string(n) + " is outside 0 to 5";
        }
        params[arg.param] = static_cast<float>(n);
        return {};
      }
      case ArgKind::kFlag:
        if (text != "true" && text != "false") return "expected true or false, found " + shown;
        params[arg.param] = text == "true" ? 1.0f : 0.0f;
        return {};
      case ArgKind::kReal:
      case ArgKind::kDifference:
      case ArgKind::kFixed:
        return RealArgument(arg, text, params);
    }
    return "unsupported argument";
  }

  static std::string RealArgument(const OpArg& arg, std::string_view text, OpParams& params) {
    float value = 0.0f;
    if (!ParseFloat(text, value)) return "expected a number, found \"" + std::string(text) + "\"";
    if (arg.kind == ArgKind::kFixed) {
      return value == kMandelBailout ? std::string() : "the bailout is always 16";
    }
    if (arg.kind == ArgKind::kDifference) {
      // Stored as the end point: start + span; the start argument comes first in the call.
      value = static_cast<float>(static_cast<long double>(params[arg.base]) + value);
    }
    params[arg.param] = value;
    return {};
  }

  TexgenProgram& program_;
  int list_ = 0;
};

}  // namespace

TexgenCompileResult CompileProgramText(std::string_view text, TexgenProgram& program) {
  Compiler compiler(program);
  int lineNumber = 0;
  while (!text.empty() || lineNumber == 0) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    std::string problem = compiler.Line(line);
    if (!problem.empty()) return TexgenCompileResult{false, lineNumber, problem};
  }
  return TexgenCompileResult{};
}
