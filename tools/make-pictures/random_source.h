// A small deterministic generator for placing the drawn elements: the same seed gives the same
// picture on every build and every machine.
#pragma once

#include <cstdint>

class RandomSource {
 public:
  explicit RandomSource(std::uint32_t seed) : state_(seed * 2654435761u + 1u) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // Uniform in [low, high).
  double Between(double low, double high) { return low + (high - low) * (Next() / 4294967296.0); }

 private:
  std::uint32_t state_;
};
