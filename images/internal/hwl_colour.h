// Colour conversion and pixel output, the last decoding stage, and the writer's colour transform.
//
// Colour pictures are coded as Y = 0.3 R + 0.59 G + 0.11 B, U = 0.493 (B − Y), V = 0.877 (R − Y);
// the decoder's constants are the inverses to seven significant digits. Everything is evaluated in
// extended precision and rounded to binary64 when stored.
#pragma once

#include <cstddef>
#include <cstdint>

struct RgbSample {
  double r;
  double g;
  double b;
};

// R = Y + 1.140251 V, B = Y + 2.028398 U, G = 1.694915 ((Y − 0.3 R) − 0.11 B) from the stored R, B.
RgbSample YuvSampleToRgb(double y, double u, double v);

// The one place the decoder rounds: v ≤ 0 (−0 too) gives 0, v ≥ 255 and NaN give 255, anything between
// rounds to the nearest integer, halves to even.
std::uint8_t SampleToByte(double v);

// The binary64 shortcut of the colour output, which decides several pixels at a time, vouches for a
// pixel only where |Y| + |U| + |V| is below kColourShortcutLimit and each of its R, G, B lies farther
// than kColourShortcutMargin from every half-integer (binary64 stays within about 1e-11 of the exact
// values there); every other pixel takes the extended-precision path.
inline constexpr double kColourShortcutMargin = 1e-7;
inline constexpr double kColourShortcutLimit = 1e4;

// Grey output: one byte per sample.
void StorePixels(const double* grey, std::size_t count, std::uint8_t* pixels);
// Colour output from rebuilt Y, U, V planes: four bytes per pixel, byte(B), byte(G), byte(R) of
// YuvSampleToRgb and alpha 0.
void StoreYuvPixels(const double* y, const double* u, const double* v, std::size_t count, std::uint8_t* pixels);

// Y, U, V of the top-left w × h block of R, G, B (stride W), then ForwardWavelet on each with
// lastLevel + 1 steps, in place in the output planes.
void RgbToYuvForward(const double* r, const double* g, const double* b, double* y, double* u, double* v,
                     std::uint32_t w, std::uint32_t h, std::uint32_t W, std::uint32_t H, int lastLevel);
