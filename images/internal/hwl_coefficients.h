// The first decoding stage of one channel: its symbol and value streams become quantised wavelet
// coefficients, and the band factors that turn those into real coefficients.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Symbol 0 is one zero; symbol 1 and the next symbol h with one value form a run of
// value + h × 2^valueBits + 1 zeros; symbols 2 and 3 take a magnitude from the value stream as a
// positive or negative coefficient. Successive Fill calls write successive coefficients (a run may
// continue from one call into the next). Once the symbols or the values run out, every further
// coefficient is 0. The streams must outlive the object.
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

// The factor of each band of a scale table (lastLevel + 2 entries), level 0 first and the
// approximation band last: 0 for a scale of exactly 0, else 1 / scale rounded to binary64. A band's
// coefficients decode as factor × the quantised value; decoded magnitudes have at most 8 bits, so the
// binary64 product is the extended-precision product rounded once.
std::vector<double> BandFactors(const double* scale, int lastLevel);
