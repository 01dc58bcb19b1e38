// The texgen text compiler on any text. A compile error must name a line of the text; a program that
// compiles must survive the trip through its own text form (ExportProgram, then compiling that) with
// its operations unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "texgen/texgen.h"

namespace {

int LineCount(std::string_view text) {
  return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TexgenProgram program{};
  const TexgenCompileResult result = CompileProgramText(text, program);
  if (!result.ok) {
    FUZZ_CHECK(result.line >= 1 && result.line <= LineCount(text));
    FUZZ_CHECK(!result.message.empty());
    return 0;
  }
  const std::string exported = ExportProgram(program);
  TexgenProgram again{};
  const TexgenCompileResult second = CompileProgramText(exported, again);
  FUZZ_CHECK(second.ok);
  FUZZ_CHECK(EncodeProgram(again) == EncodeProgram(program));
  return 0;
}
