// The writer's run-length coder, the inverse of the decoder's coefficient code (CoefficientStream).
#pragma once

#include <cstdint>
#include <span>

// Appends the symbols and values of the W × H plane to `symbols` and `values` from index symbolCount
// and valueCount, advancing both counts. With b = valueBits, a zero followed by k more zeros becomes
// one run (symbols 1 and k >> b, value k AND (2^b − 1)) when k exceeds (b + 4) / 2, up to
// 2^(b + 2) zeros in one run; the last coefficient of the plane never joins a run. A positive or
// negative coefficient is symbol 2 or 3 with the low byte of its magnitude as the value. Each buffer
// must hold W × H bytes past its count; nothing is written past the end of either span.
void Symbolise(const std::int32_t* plane, std::span<std::uint8_t> symbols, std::uint32_t& symbolCount,
               std::span<std::uint8_t> values, std::uint32_t& valueCount, std::uint32_t W, std::uint32_t H,
               int valueBits);
