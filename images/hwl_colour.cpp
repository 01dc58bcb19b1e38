#include "images/hwl_colour.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "images/hwl_wavelet.h"

namespace {

struct YuvSample {
  double y;
  double u;
  double v;
};

YuvSample RgbSampleToYuv(double r, double g, double b) {
  const double y = static_cast<double>((0.3L * r + 0.59L * g) + 0.11L * b);
  const double u = static_cast<double>(0.493L * (static_cast<long double>(b) - y));
  const double v = static_cast<double>(0.877L * (static_cast<long double>(r) - y));
  return {y, u, v};
}

// v (0 ≤ v ≤ 255) rounded to the nearest integer, halves to even. Adding and removing 2^52 rounds by
// the binary64 addition itself, under the round-to-nearest mode the program runs in; unlike lrint it
// is two additions, not a library call.
std::uint8_t RoundedByte(double v) {
  constexpr double kUnit = 4503599627370496.0;  // 2^52
  return static_cast<std::uint8_t>(static_cast<int>((v + kUnit) - kUnit));
}

// The bytes depend on the exact extended-precision conversion only through the rounding boundaries
// 0.5, 1.5, … 254.5. Binary64 arithmetic with the same constants stays within about 1e-11 of the exact
// values for samples of moderate size, so wherever all three approximate values lie farther than
// kBoundaryMargin from every boundary they give the same bytes, and only the rare rest needs the
// extended-precision path.
constexpr double kBoundaryMargin = 1e-7;
constexpr double kModerateSample = 1e4;

constexpr double kIntegerUnit = 4503599627370496.0;  // 2^52
constexpr double kFar = 1.0;                         // any distance beyond the margin

// Distance from v to the nearest boundary 0.5 … 254.5 (kFar outside their range); written as plain
// arithmetic and selections so that the loop over a block vectorises.
double BoundaryDistance(double v) {
  const double t = v - 0.5;
  const double nearest = (t + kIntegerUnit) - kIntegerUnit;
  const double distance = std::fabs(t - nearest);
  const bool inside = v >= 0.5 - kBoundaryMargin && v <= 254.5 + kBoundaryMargin;
  return inside ? distance : kFar;
}

std::uint8_t ClampedByte(double v) {
  // A NaN becomes 0 here, never an undefined conversion; its pixel then takes the exact path.
  const double low = v >= 0.0 ? v : 0.0;
  const double clamped = low > 255.0 ? 255.0 : low;
  return static_cast<std::uint8_t>(static_cast<int>((clamped + kIntegerUnit) - kIntegerUnit));
}

void StoreBgr0(const RgbSample& sample, std::uint8_t* pixel) {
  pixel[0] = SampleToByte(sample.b);
  pixel[1] = SampleToByte(sample.g);
  pixel[2] = SampleToByte(sample.r);
  pixel[3] = 0;
}

// Colour output of up to kBlock pixels: binary64 passes that the compiler vectorises, then the exact
// path for the few pixels where the shortcut is not safe.
constexpr std::size_t kBlock = 256;

void StoreYuvBlock(const double* y, const double* u, const double* v, std::size_t count, std::uint8_t* pixels) {
  double r[kBlock], g[kBlock], b[kBlock], distance[kBlock];
  for (std::size_t i = 0; i < count; ++i) {
    const double red = y[i] + 1.140251 * v[i];
    const double blue = y[i] + 2.028398 * u[i];
    r[i] = red;
    b[i] = blue;
    g[i] = 1.694915 * ((y[i] - 0.3 * red) - 0.11 * blue);
  }
  double closest = kFar;
  for (std::size_t i = 0; i < count; ++i) {
    const double size = std::fabs(y[i]) + std::fabs(u[i]) + std::fabs(v[i]);
    const double nearest = std::min(BoundaryDistance(r[i]), std::min(BoundaryDistance(g[i]), BoundaryDistance(b[i])));
    distance[i] = size < kModerateSample ? nearest : 0.0;  // NaN and huge samples take the exact path
    closest = std::min(closest, distance[i]);
  }
  for (std::size_t i = 0; i < count; ++i) {
    pixels[4 * i] = ClampedByte(b[i]);
    pixels[4 * i + 1] = ClampedByte(g[i]);
    pixels[4 * i + 2] = ClampedByte(r[i]);
    pixels[4 * i + 3] = 0;
  }
  if (closest > kBoundaryMargin) return;
  for (std::size_t i = 0; i < count; ++i) {
    if (distance[i] <= kBoundaryMargin) StoreBgr0(YuvSampleToRgb(y[i], u[i], v[i]), pixels + 4 * i);
  }
}

}  // namespace

RgbSample YuvSampleToRgb(double y, double u, double v) {
  const double r = static_cast<double>(y + 1.140251L * v);
  const double b = static_cast<double>(y + 2.028398L * u);
  const double g = static_cast<double>(1.694915L * ((y - 0.3L * r) - 0.11L * b));
  return {r, g, b};
}

std::uint8_t SampleToByte(double v) {
  if (v <= 0.0) return 0;
  if (!(v < 255.0)) return 255;
  return RoundedByte(v);
}

void YuvToRgb(double* y, double* u, double* v, std::uint32_t W, std::uint32_t H, int lastLevel, double* r,
              double* g, double* b) {
  std::vector<double> scratch(std::size_t{W} * H);
  for (double* plane : {y, u, v}) InverseWavelet(plane, plane, W, H, W, H, lastLevel, scratch.data());
  const std::size_t count = std::size_t{W} * H;
  for (std::size_t i = 0; i < count; ++i) {
    const RgbSample sample = YuvSampleToRgb(y[i], u[i], v[i]);
    r[i] = sample.r;
    g[i] = sample.g;
    b[i] = sample.b;
  }
}

void StorePixels(const double* grey, std::size_t count, std::uint8_t* pixels) {
  for (std::size_t i = 0; i < count; ++i) pixels[i] = SampleToByte(grey[i]);
}

void StorePixels(const double* r, const double* g, const double* b, std::size_t count, std::uint8_t* pixels) {
  for (std::size_t i = 0; i < count; ++i) StoreBgr0({r[i], g[i], b[i]}, pixels + 4 * i);
}

void StoreYuvPixels(const double* y, const double* u, const double* v, std::size_t count, std::uint8_t* pixels) {
  for (std::size_t start = 0; start < count; start += kBlock) {
    StoreYuvBlock(y + start, u + start, v + start, std::min(kBlock, count - start), pixels + 4 * start);
  }
}

void RgbToYuvForward(const double* r, const double* g, const double* b, double* y, double* u, double* v,
                     std::uint32_t w, std::uint32_t h, std::uint32_t W, std::uint32_t H, int lastLevel) {
  for (std::uint32_t row = 0; row < h; ++row) {
    for (std::size_t i = std::size_t{row} * W; i < std::size_t{row} * W + w; ++i) {
      const YuvSample sample = RgbSampleToYuv(r[i], g[i], b[i]);
      y[i] = sample.y;
      u[i] = sample.u;
      v[i] = sample.v;
    }
  }
  for (double* plane : {y, u, v}) ForwardWavelet(plane, plane, w, h, W, H, lastLevel);
}
