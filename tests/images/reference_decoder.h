// A slow decoder written straight from the format's description: whole planes per stage, fresh
// scratch planes for every transform step, columns walked as columns, every product in extended
// precision. The engine's decoder streams rows, shares buffers and takes binary64 shortcuts; both must
// give the same bytes.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Pixels of an 8- or 24-bit file whose blocks are all there, laid out as LoadImageFile lays them out.
Bytes ReferenceDecode(const Bytes& file);

// One channel's coefficients, symbol by symbol; decoding stops where the symbols or the values run
// out, and the rest of the plane stays 0.
std::vector<std::int32_t> ReferenceCoefficients(const Bytes& symbols, const Bytes& values, std::size_t size,
                                                int valueBits);

// A sample as a byte, and a colour pixel (blue, green, red, 0) from rebuilt Y, U, V.
std::uint8_t ReferenceByte(double sample);
std::array<std::uint8_t, 4> ReferenceColourPixel(double y, double u, double v);
