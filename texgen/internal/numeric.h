// Number conversions shared by every texture operation.
//
// The generator evaluates in extended precision (`long double`) and converts to integers by
// truncation toward zero. A value that no 64-bit integer can hold (an infinity, a NaN, a huge
// product from a hostile parameter) becomes the "integer indefinite" 0x8000000000000000, as the
// x87 unit delivers it; its low 8 bits are 0, so such a pixel turns black instead of the program
// misbehaving.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

inline constexpr std::int64_t kIntegerIndefinite = INT64_MIN;

// Every value strictly between -2^63 and 2^63 truncates into int64.
inline bool FitsInt64(long double value) {
  constexpr long double kTwoTo63 = 9223372036854775808.0L;
  return value > -kTwoTo63 && value < kTwoTo63;
}

// Truncation toward zero, safe for any input.
inline std::int64_t TruncateReal(long double value) {
  if (!FitsInt64(value)) return kIntegerIndefinite;
  constexpr long double kTwoTo52 = 4503599627370496.0L;
  if (!(std::fabs(value) < kTwoTo52)) return static_cast<std::int64_t>(value);
  // A direct conversion switches the x87 unit's rounding mode twice, which costs more than the
  // rest of a pixel. The double conversion truncates cheaply; rounding to double can only carry
  // the value across the next integer away from zero, which the comparison undoes.
  std::int64_t whole = static_cast<std::int64_t>(static_cast<double>(value));
  const long double back = static_cast<long double>(whole);
  if (value >= 0.0L && back > value) --whole;
  if (value < 0.0L && back < value) ++whole;
  return whole;
}

// Rounding to the nearest integer with halves to even, safe for any input.
std::int64_t RoundReal(long double value);

// The low 8 bits of the truncated value: what writing an integer into a channel byte keeps.
inline std::uint8_t LowByte(std::int64_t value) { return static_cast<std::uint8_t>(value & 0xFF); }
inline std::uint8_t TruncToByte(long double value) { return LowByte(TruncateReal(value)); }

// The clamp of the operations: >= 255 gives 255, <= 0 gives 0, anything else is truncated.
std::uint8_t ClampToByte(long double value);

// An integer parameter: the truncated value kept to its low 32 bits as a signed integer.
std::int32_t ParamInt(float value);
// A flag parameter: true exactly when the value equals 1.0.
inline bool ParamFlag(float value) { return value == 1.0f; }

// The single-precision π of this subsystem, 3.1415927410125732.
inline constexpr float kPi = 3.14159265358979323846f;

// Extended-precision transcendental functions are about ten times slower than double ones. Where a
// single-precision result is wanted, the double evaluation `approx` (within `bound` of the
// extended value) is used when both must round to the same single, that is when no rounding
// boundary of the singles lies within `bound` of it; otherwise the extended `exact()` decides.
template <typename Exact>
float SingleNear(double approx, double bound, Exact exact) {
  const float nearest = static_cast<float>(approx);
  if (std::fabs(nearest) < std::numeric_limits<float>::max()) {
    const double below = (static_cast<double>(nearest) +
                          std::nextafter(nearest, -std::numeric_limits<float>::infinity())) /
                         2;
    const double above = (static_cast<double>(nearest) +
                          std::nextafter(nearest, std::numeric_limits<float>::infinity())) /
                         2;
    if (approx - below > bound && above - approx > bound) return nearest;
  }
  return exact();
}

// Arguments up to this size keep the double and extended sine and cosine within 1e-15 of each
// other (the x87 argument reduction loses accuracy on larger ones).
inline constexpr double kFastTrigLimit = 1e4;
// The absolute bound for the sine, cosine and arc tangent of such arguments, and for the cosine
// weights built from them; the double results are within a few units of 2^-53.
inline constexpr double kTrigBound = 1e-15;

// single(cos(x)) and single(sin(x)) of a single argument, evaluated as by the extended unit.
float SingleCos(float x);
float SingleSin(float x);
