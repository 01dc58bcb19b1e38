// Numeric helpers shared by the operations: the generator's random numbers, the two square roots,
// cosine interpolation and sampling between pixels, and the RGB/HSV conversions.
#pragma once

#include <cstdint>

// The generator's own random state; 0 at program start, changed only by NextRandom and the seeds.
extern std::uint32_t randomState;

// randomState := randomState x 22695477 (mod 2^32); returns its top 16 bits, 0 to 65535.
std::uint32_t NextRandom();
inline void SeedRandom(std::int32_t seed) { randomState = static_cast<std::uint32_t>(seed); }

// Newton iteration on unsigned integers; may end one above the floor of the root (ISqrt(8) = 3).
std::uint32_t ISqrt(std::uint32_t n);

// The bit-pattern approximation: halves the exponent of v, linear in between.
float FastSqrt(float v);

// The cosine weight 0.5 x (1 - cos(pi x f)), single.
float CosineWeight(float f);

// The blend of CosInterp for weights a and b already computed with CosineWeight.
void CosBlend(const std::uint8_t* s00, const std::uint8_t* s10, const std::uint8_t* s01,
              const std::uint8_t* s11, float a, float b, std::uint8_t* out);

// Blends four RGB samples (s10 right of s00, s01 below, s11 both) with cosine weights.
void CosInterp(const std::uint8_t* s00, const std::uint8_t* s10, const std::uint8_t* s01,
               const std::uint8_t* s11, float fx, float fy, std::uint8_t* out);

// The colour of `layer` at a real position: CosInterp of the four wrapped neighbours.
void Sample(int layer, float x, float y, std::uint8_t* out);

struct Hsv {
  float h;  // degrees 0 to 360, or -1 for a grey
  float s;  // 0 to 1
  float v;  // 0 to 255
};
struct RealRgb {
  long double r, g, b;
};

Hsv RgbToHsv(const std::uint8_t* rgb);
RealRgb HsvToRgb(float h, float s, float v);
