// The first two decoding stages of one channel: the symbol and value streams become quantised
// wavelet coefficients (`DecodeCoefficients`), and those become real coefficients band by band
// (`Dequantise`).
#pragma once

#include <cstdint>
#include <span>

// Symbol 0 is one zero; symbol 1 and the next symbol h with one value form a run of
// value + h × 2^valueBits + 1 zeros; symbols 2 and 3 take a magnitude from the value stream as a
// positive or negative coefficient. Fills all W × H entries of `plane`: when the symbols or values
// run out before the plane is full the rest of the plane is 0, and a run reaching past the plane
// stops at its end.
void DecodeCoefficients(std::span<const std::uint8_t> symbols, std::span<const std::uint8_t> values,
                        std::uint32_t width, std::uint32_t height, int valueBits, std::int32_t* plane);

// out[i] := (1 / scale of i's band) × in[i], a band with scale exactly 0 giving 0. `scale` holds
// lastLevel + 2 entries. The product is formed in extended precision and rounded once, to binary64.
void Dequantise(const std::int32_t* in, std::uint32_t W, std::uint32_t H, int lastLevel, const double* scale,
                double* out);
