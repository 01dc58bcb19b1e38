#include "scenes/internal/demo_random.h"

namespace {

std::uint32_t generatorState = kDemoRandomSeed;

// One step of a full-period linear congruential generator modulo 2^32.
std::uint32_t NextState(std::uint32_t state) { return state * 1664525u + 1013904223u; }

}  // namespace

std::int32_t DemoRandom(std::int32_t n) {
  if (n <= 0) return 0;
  generatorState = NextState(generatorState);
  // The high bits of the state scaled to 0 ... n - 1: uniform to within n / 2^32, and free of the
  // short cycles of the low bits.
  const std::uint64_t scaled = static_cast<std::uint64_t>(generatorState) * static_cast<std::uint64_t>(n);
  return static_cast<std::int32_t>(scaled >> 32);
}

std::uint32_t DemoRandomState() { return generatorState; }

void SetDemoRandomState(std::uint32_t state) { generatorState = state; }
