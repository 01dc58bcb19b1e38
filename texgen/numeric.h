// Number conversions shared by every texture operation.
//
// The generator evaluates in extended precision (`long double`) and converts to integers by
// truncation toward zero. A value that no 64-bit integer can hold (an infinity, a NaN, a huge
// product from a hostile parameter) becomes the "integer indefinite" 0x8000000000000000, as the
// x87 unit delivers it; its low 8 bits are 0, so such a pixel turns black instead of the program
// misbehaving.
#pragma once

#include <cstdint>

inline constexpr std::int64_t kIntegerIndefinite = INT64_MIN;

// Truncation toward zero, safe for any input.
std::int64_t TruncateReal(long double value);

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
