// The first two decoding stages of one channel: the symbol and value streams become quantised
// wavelet coefficients (`DecodeCoefficients`), and those become real coefficients band by band
// (`Dequantise`).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Symbol 0 is one zero; symbol 1 and the next symbol h with one value form a run of
// value + h × 2^valueBits + 1 zeros; symbols 2 and 3 take a magnitude from the value stream as a
// positive or negative coefficient. Fills all W × H entries of `plane`: when the symbols or values
// run out before the plane is full the rest of the plane is 0, and a run reaching past the plane
// stops at its end.
void DecodeCoefficients(std::span<const std::uint8_t> symbols, std::span<const std::uint8_t> values,
                        std::uint32_t width, std::uint32_t height, int valueBits, std::int32_t* plane);

// DecodeCoefficients in pieces, so that a caller can work row by row without an integer plane:
// successive Fill calls write successive coefficients, the very values one call over the whole plane
// writes (a run may continue from one call into the next). The streams must outlive the object.
class CoefficientStream {
 public:
  CoefficientStream(std::span<const std::uint8_t> symbols, std::span<const std::uint8_t> values, int valueBits);
  void Fill(std::int32_t* out, std::size_t count);

 private:
  // Steps while both streams have symbols and values to spare, without exhaustion tests; returns the
  // new `written`.
  std::size_t PlentifulSteps(std::int32_t* out, std::size_t count, std::size_t written);
  bool Step(std::int32_t* out, std::size_t count, std::size_t& written);
  bool StartRun(std::int32_t* out, std::size_t count, std::size_t& written);

  std::span<const std::uint8_t> symbols_;
  std::span<const std::uint8_t> values_;
  std::uint64_t runUnit_;
  std::size_t symbol_ = 0;
  std::size_t value_ = 0;
  std::uint64_t pendingZeros_ = 0;  // what is left of a run begun by an earlier Fill
  bool exhausted_ = false;
};

// out[i] := (1 / scale of i's band) × in[i], a band with scale exactly 0 giving 0. `scale` holds
// lastLevel + 2 entries. The product is formed in extended precision and rounded once, to binary64.
void Dequantise(const std::int32_t* in, std::uint32_t W, std::uint32_t H, int lastLevel, const double* scale,
                double* out);

// The factor of each band: 0 for a scale of exactly 0, else 1 / scale rounded to binary64.
std::vector<double> BandFactors(const double* scale, int lastLevel);

// Dequantise for row y alone; `in` and `out` point at the start of that row.
void DequantiseRow(const std::int32_t* in, std::uint32_t y, std::uint32_t W, std::uint32_t H, int lastLevel,
                   const std::vector<double>& factors, double* out);
