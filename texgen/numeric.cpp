#include "texgen/numeric.h"

#include <cmath>

namespace {

// 2^63 as a long double: every value strictly between -2^63 and 2^63 truncates into int64.
constexpr long double kTwoTo63 = 9223372036854775808.0L;

bool FitsInt64(long double value) { return value > -kTwoTo63 && value < kTwoTo63; }

}  // namespace

std::int64_t TruncateReal(long double value) {
  const long double whole = std::trunc(value);
  if (!FitsInt64(whole)) return kIntegerIndefinite;
  return static_cast<std::int64_t>(whole);
}

std::int64_t RoundReal(long double value) {
  // nearbyint follows the current rounding mode, which is never changed: to nearest, halves to
  // even.
  const long double whole = std::nearbyint(value);
  if (!FitsInt64(whole)) return kIntegerIndefinite;
  return static_cast<std::int64_t>(whole);
}

std::uint8_t ClampToByte(long double value) {
  if (value >= 255.0L) return 255;
  if (value <= 0.0L) return 0;
  return TruncToByte(value);
}

std::int32_t ParamInt(float value) {
  const auto low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(TruncateReal(value)));
  return static_cast<std::int32_t>(low);
}
