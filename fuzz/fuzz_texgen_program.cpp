// The op-list loader and runner on any 22020-byte program, at 64 x 64: every count, code and
// parameter as the bytes give them. A refused program must leave the pixels untouched; a program
// that runs must fill exactly 64 x 64 pixels with the fourth byte of each 0.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "texgen/texgen.h"

namespace {
constexpr std::int32_t kSize = 64;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint32_t> untouched{7, 8, 9};
  std::vector<std::uint32_t> pixels = untouched;
  const TexgenStatus status = LoadAndRunBytes(pixels, data, size, kSize, kSize, true);
  if (!status.ok()) {
    FUZZ_CHECK(pixels == untouched);
    return 0;
  }
  FUZZ_CHECK(size >= kProgramFileBytes);
  FUZZ_CHECK(pixels.size() == static_cast<std::size_t>(kSize) * kSize);
  for (std::uint32_t pixel : pixels) FUZZ_CHECK((pixel >> 24) == 0);
  return 0;
}
