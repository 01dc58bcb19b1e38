#include "texgen/internal/numeric.h"

#include <cmath>

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

float SingleCos(float x) {
  const auto exact = [x] { return static_cast<float>(std::cos(static_cast<long double>(x))); };
  if (!(std::fabs(x) <= kFastTrigLimit)) return exact();
  return SingleNear(std::cos(static_cast<double>(x)), kTrigBound, exact);
}

float SingleSin(float x) {
  const auto exact = [x] { return static_cast<float>(std::sin(static_cast<long double>(x))); };
  if (!(std::fabs(x) <= kFastTrigLimit)) return exact();
  return SingleNear(std::sin(static_cast<double>(x)), kTrigBound, exact);
}
