#include "texgen/internal/filters.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "texgen/internal/helpers.h"
#include "texgen/internal/layers.h"
#include "texgen/internal/numeric.h"

namespace {

const GeneratorState& State() { return generatorState; }

// The 3 x 3 neighbourhood of one channel: columns l, c, r and rows a (above), m, b (below), so
// `la` is the value left above and `c` the centre.
struct Window {
  int la, ca, ra, lm, c, rm, lb, cb, rb;
};

Window ReadWindow(const std::uint8_t* scratch, std::int64_t x, std::int64_t y, int k) {
  auto at = [&](std::int64_t dx, std::int64_t dy) { return PixelAt(scratch, x + dx, y + dy)[k]; };
  return Window{at(-1, -1), at(0, -1), at(1, -1), at(-1, 0), at(0, 0),
                at(1, 0),   at(-1, 1), at(0, 1),  at(1, 1)};
}

// Copies the source into the scratch layer and writes filter(window) for every channel of every
// target pixel.
template <typename Filter>
void FilterLayer(int source, int target, Filter filter) {
  CopyLayer(source, kScratchLayer);
  const std::uint8_t* scratch = LayerData(kScratchLayer);
  std::uint8_t* out = LayerData(target);
  for (std::int64_t y = 0; y < State().height; ++y) {
    for (std::int64_t x = 0; x < State().width; ++x) {
      std::uint8_t* p = PixelAt(out, x, y);
      for (int k = 0; k < kChannels; ++k) p[k] = filter(ReadWindow(scratch, x, y, k));
    }
  }
}

std::uint8_t Cap255(int v) { return static_cast<std::uint8_t>(std::min(v, 255)); }

int HorizontalGradient(const Window& w) {
  return (w.la + 2 * w.lm + w.lb) - (w.ra + 2 * w.rm + w.rb);
}
int VerticalGradient(const Window& w) {
  return (w.la + 2 * w.ca + w.ra) - (w.lb + 2 * w.cb + w.rb);
}

}  // namespace

void blurLayer(int source, int target) {
  FilterLayer(source, target, [](const Window& w) {
    const int sum = w.la + 2 * w.ca + w.ra + 2 * w.lm + 4 * w.c + 2 * w.rm + w.lb + 2 * w.cb + w.rb;
    return LowByte(sum >> 4);
  });
}

void sharpenLayer(int source, int target) {
  FilterLayer(source, target, [](const Window& w) {
    const int v =
        ((5 * w.c) >> 1) - ((w.la + w.ra + w.lb + w.rb) >> 3) - ((w.ca + w.lm + w.rm + w.cb) >> 2);
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
  });
}

void edgeVLayer(int source, int target) {
  FilterLayer(source, target,
              [](const Window& w) { return Cap255(2 * std::abs(HorizontalGradient(w))); });
}

void edgeHLayer(int source, int target) {
  FilterLayer(source, target,
              [](const Window& w) { return Cap255(2 * std::abs(VerticalGradient(w))); });
}

void embossLayer(int source, int target) {
  FilterLayer(source, target, [](const Window& w) {
    const int gx = 128 + (w.ra + w.rm + w.rb) - (w.la + w.lm + w.lb);
    const int gy = 128 + (w.lb + w.cb + w.rb) - (w.la + w.ca + w.ra);
    return Cap255(static_cast<int>(ISqrt(static_cast<std::uint32_t>(gx * gx + gy * gy))));
  });
}

void dilateLayer(int source, int target) {
  FilterLayer(source, target, [](const Window& w) {
    return static_cast<std::uint8_t>(
        std::max({w.la, w.ca, w.ra, w.lm, w.c, w.rm, w.lb, w.cb, w.rb}));
  });
}

void erodeLayer(int source, int target) {
  FilterLayer(source, target, [](const Window& w) {
    return static_cast<std::uint8_t>(
        std::min({w.la, w.ca, w.ra, w.lm, w.c, w.rm, w.lb, w.cb, w.rb}));
  });
}

namespace {

// The five largest values seen so far, in descending order; the fifth is the median of nine.
std::uint8_t FifthLargest(const Window& w) {
  int top[5] = {0, 0, 0, 0, 0};
  for (int v : {w.la, w.ca, w.ra, w.lm, w.c, w.rm, w.lb, w.cb, w.rb}) {
    if (v <= top[4]) continue;
    int place = 4;
    while (place > 0 && top[place - 1] < v) {
      top[place] = top[place - 1];
      --place;
    }
    top[place] = v;
  }
  return static_cast<std::uint8_t>(top[4]);
}

constexpr long double kDirectionScale = 40.584510803222656L;  // single(127.5 / pi)

std::uint8_t GradientDirection(const Window& w) {
  const int gx = HorizontalGradient(w);
  const int gy = VerticalGradient(w);
  if (gx == 0) return gy == 0 ? 128 : gy < 0 ? 64 : 196;
  const auto exact = [=] {
    return static_cast<float>(std::atan(static_cast<long double>(gy) / gx));
  };
  const float a = SingleNear(std::atan(static_cast<double>(gy) / gx), kTrigBound, exact);
  if (gx < 0) return TruncToByte(kDirectionScale * a);
  return TruncToByte(127.5L + kDirectionScale * a);
}

}  // namespace

void medianLayer(int source, int target) { FilterLayer(source, target, FifthLargest); }

void sculptureLayer(int source, int target) { FilterLayer(source, target, GradientDirection); }

// Rotates every byte left by `bits`; a count outside 0 to 8 copies the source.
void woodLayer(int source, int target, std::int32_t bits) {
  const std::uint8_t* in = LayerData(source);
  std::uint8_t* out = LayerData(target);
  const std::size_t bytes = LayerBytes();
  if (bits < 0 || bits > 8) {
    std::copy(in, in + bytes, out);
    return;
  }
  for (std::size_t i = 0; i < bytes; ++i) {
    const unsigned v = in[i];
    out[i] = static_cast<std::uint8_t>((v >> (8 - bits)) | (v << bits));
  }
}

namespace {

// Sums of a periodic row: Sum(start, length) = the sum of `length` consecutive values from
// `start`, wrapping round the row as often as needed, from the row's prefix sums.
class PeriodicRow {
 public:
  // prefix[i] = value[0] + ... + value[i - 1]; prefix has width + 1 entries.
  PeriodicRow(const std::int64_t* prefix, std::int64_t width) : prefix_(prefix), width_(width) {}

  std::int64_t Sum(std::int64_t start, std::int64_t length) const {
    const std::int64_t s = start & (width_ - 1);
    const std::int64_t turns = length / width_, rest = length % width_;
    std::int64_t sum = turns * prefix_[width_];
    if (s + rest <= width_) return sum + prefix_[s + rest] - prefix_[s];
    return sum + prefix_[width_] - prefix_[s] + prefix_[s + rest - width_];
  }

 private:
  const std::int64_t* prefix_;
  std::int64_t width_;
};

// The triangle weights n + 1 - |j| count the pairs (a, b) in 0..n with a - b = j, so the
// triangle sum at x is the sum over k = 0..n of the box sums of n + 1 values starting at x - k.
// Two passes of prefix sums give it in time independent of the radius.
void TriangleSumsOfRow(const std::uint8_t* row, int k, std::int64_t width, std::int64_t n,
                       std::int64_t* sums) {
  std::int64_t prefix[kMaxLayerSize + 1];
  std::int64_t boxPrefix[kMaxLayerSize + 1];
  prefix[0] = 0;
  for (std::int64_t x = 0; x < width; ++x) prefix[x + 1] = prefix[x] + row[x * kChannels + k];
  const PeriodicRow values(prefix, width);
  boxPrefix[0] = 0;
  for (std::int64_t x = 0; x < width; ++x) boxPrefix[x + 1] = boxPrefix[x] + values.Sum(x, n + 1);
  const PeriodicRow boxes(boxPrefix, width);
  for (std::int64_t x = 0; x < width; ++x) sums[x] = boxes.Sum(x - n, n + 1);
}

}  // namespace

// A negative radius acts as 0; a radius beyond the width acts as the width, which keeps the
// weighted sums within 64 bits (the window then already covers the row more than twice).
void motionBlur(int source, int target, std::int32_t radius) {
  const std::int64_t w = State().width;
  const std::int64_t n = std::clamp<std::int64_t>(radius, 0, w);
  CopyLayer(source, kScratchLayer);
  const std::uint8_t* scratch = LayerData(kScratchLayer);
  std::uint8_t* out = LayerData(target);
  const std::int64_t divisor = (n + 1) * (n + 1);
  std::int64_t sums[kMaxLayerSize];
  for (std::int64_t y = 0; y < State().height; ++y) {
    const std::uint8_t* row = scratch + y * w * kChannels;
    std::uint8_t* outRow = out + y * w * kChannels;
    for (int k = 0; k < kChannels; ++k) {
      TriangleSumsOfRow(row, k, w, n, sums);
      for (std::int64_t x = 0; x < w; ++x) outRow[x * kChannels + k] = LowByte(sums[x] / divisor);
    }
  }
}

namespace {

struct TileBlend {
  std::int64_t hx, hy;
  float r2;
  float scale;
};

TileBlend MakeTileBlend(std::int32_t border) {
  TileBlend t{};
  t.hx = State().width / 2;
  t.hy = State().height / 2;
  const std::int64_t r = t.hx - border;
  t.r2 = static_cast<float>(r * r);
  const long double d = static_cast<long double>(static_cast<float>(t.hy * t.hx)) - t.r2;
  t.scale = d == 0.0L ? 75000.0f : static_cast<float>(0.75L / d);
  return t;
}

}  // namespace

void makeTilable(int source, int target, std::int32_t border) {
  const TileBlend blend = MakeTileBlend(border);
  CopyLayer(source, kScratchLayer);
  const std::uint8_t* s = LayerData(kScratchLayer);
  std::uint8_t* out = LayerData(target);
  const std::int64_t w = State().width, h = State().height;
  for (std::int64_t y = 0; y < h; ++y) {
    for (std::int64_t x = 0; x < w; ++x) {
      const std::int64_t dx = x - blend.hx, dy = y - blend.hy;
      float t = static_cast<float>(static_cast<float>(dx * dx + dy * dy) -
                                   static_cast<long double>(blend.r2));
      if (t <= 0.0f) continue;
      t = static_cast<float>(static_cast<long double>(blend.scale) * t);
      float a = 0.25f, b = 0.25f;
      if (!(t > 0.75f)) {
        b = static_cast<float>(1.0L - t);
        a = static_cast<float>(0.333333L * t);
      }
      const std::uint8_t* mirrorY = PixelAt(s, x, h - 1 - y);
      const std::uint8_t* mirrorXY = PixelAt(s, w - 1 - x, h - 1 - y);
      const std::uint8_t* mirrorX = PixelAt(s, w - 1 - x, y);
      const std::uint8_t* self = PixelAt(s, x, y);
      std::uint8_t* o = PixelAt(out, x, y);
      for (int k = 0; k < kChannels; ++k) {
        const int mirrors = mirrorY[k] + mirrorXY[k] + mirrorX[k];
        o[k] = TruncToByte(static_cast<long double>(a) * mirrors +
                           static_cast<long double>(b) * self[k]);
      }
    }
  }
}
