#include <algorithm>
#include <bit>
#include <cmath>
#include <iterator>

#include "tests/images/codec_test_support.h"

namespace {

using Plane = std::vector<double>;
constexpr long double kC = 0.7071067811865476;

// Little-endian fields of `size` bytes from `offset` on; past the end of the file every byte is 0.
struct Reader {
  const Bytes& file;
  std::size_t offset = 0;
  std::uint64_t Next(int size) {
    std::uint64_t value = 0;
    for (int b = 0; b < size; ++b, ++offset)
      value |= std::uint64_t{offset < file.size() ? file[offset] : 0u} << (8 * b);
    return value;
  }
};

std::uint32_t Field(const Bytes& file, std::size_t at, int size) { return std::uint32_t(Reader{file, at}.Next(size)); }

// `count` values of `bits` bits from one bit string, lowest bit first. Symbols are 2-bit values.
Bytes ReadValues(Reader& in, std::uint32_t count, int bits) {
  Bytes packed((std::size_t{count} * bits + 7) / 8), values(count, 0);
  for (auto& byte : packed) byte = std::uint8_t(in.Next(1));
  for (std::size_t bit = 0; bit < std::size_t{count} * bits; ++bit) {
    values[bit / bits] |= std::uint8_t(((packed[bit / 8] >> (bit % 8)) & 1) << (bit % bits));
  }
  return values;
}

double Factor(double scale) { return scale == 0.0 ? 0.0 : static_cast<double>(1.0L / scale); }

Plane Dequantised(const std::vector<std::int32_t>& in, std::uint32_t W, std::uint32_t H, int L,
                  const std::vector<double>& scale) {
  Plane out(in.size(), 0.0);
  auto band = [&](std::uint32_t width, std::uint32_t height, std::uint32_t quarterWidth, std::uint32_t quarterHeight,
                  double factor) {
    for (std::uint32_t y = 0; y < height; ++y) {
      for (std::uint32_t x = y < quarterHeight ? quarterWidth : 0; x < width; ++x) {
        out[y * W + x] = static_cast<double>(static_cast<long double>(factor) * in[y * W + x]);
      }
    }
  };
  for (int k = 0; k <= L; ++k) band(W >> k, H >> k, W >> (k + 1), H >> (k + 1), Factor(scale[k]));
  band(W >> (L + 1), H >> (L + 1), 0, 0, Factor(scale[L + 1]));
  return out;
}

double Times(long double v) { return static_cast<double>(kC * v); }

// The pair rule on one line of n low and n high values, into 2n outputs.
std::vector<double> Synthesise(const std::vector<double>& L, const std::vector<double>& Hi) {
  const std::size_t n = L.size();
  std::vector<double> out(2 * n);
  for (std::size_t j = 0; j < n; ++j) {
    if (j == 0 || j == n - 1 || Hi[j] != 0.0) {
      out[2 * j] = Times(static_cast<long double>(L[j]) + Hi[j]);
      out[2 * j + 1] = Times(static_cast<long double>(L[j]) - Hi[j]);
      continue;
    }
    const bool even = Hi[j - 1] == 0.0 && L[j] != L[j + 1] && (j == n - 2 || L[j + 2] != L[j + 1]);
    const bool odd = Hi[j + 1] == 0.0 && L[j] != L[j - 1] && (j == 1 || L[j - 2] != L[j - 1]);
    out[2 * j] = even ? Times(0.8L * L[j] + 0.2L * L[j - 1]) : Times(L[j]);
    out[2 * j + 1] = odd ? Times(0.8L * L[j] + 0.2L * L[j + 1]) : Times(L[j]);
  }
  return out;
}

// Synthesises `count` lines of 2n values each in place; at(line, i) is the index of value i of a line.
template <class At>
void SynthesiseLines(Plane& plane, std::uint32_t count, std::uint32_t n, At at) {
  for (std::uint32_t line = 0; line < count; ++line) {
    std::vector<double> L, Hi;
    for (std::uint32_t j = 0; j < n; ++j) L.push_back(plane[at(line, j)]), Hi.push_back(plane[at(line, n + j)]);
    const std::vector<double> out = Synthesise(L, Hi);
    for (std::uint32_t i = 0; i < 2 * n; ++i) plane[at(line, i)] = out[i];
  }
}

// The inverse transform of the w × h block at the plane's top left (row length W), down to level k:
// the quarter first, then the columns, then the rows.
void Inverse(Plane& plane, std::uint32_t w, std::uint32_t h, std::uint32_t W, int k) {
  if (k > 0) Inverse(plane, w / 2, h / 2, W, k - 1);
  SynthesiseLines(plane, w, h / 2, [&](std::uint32_t x, std::uint32_t y) { return std::size_t{y} * W + x; });
  SynthesiseLines(plane, h, w / 2, [&](std::uint32_t y, std::uint32_t x) { return std::size_t{y} * W + x; });
}

// One channel's coefficients, symbol by symbol; decoding stops where the symbols or the values run out,
// and the rest of the plane stays 0.
std::vector<std::int32_t> ReferenceCoefficients(const Bytes& symbols, const Bytes& values, std::size_t size,
                                                int valueBits) {
  std::vector<std::int32_t> plane(size, 0);
  std::size_t i = 0, s = 0, v = 0;
  while (i < size && s < symbols.size()) {
    const int symbol = symbols[s] & 3;
    if (symbol == 1) {
      if (s + 1 >= symbols.size() || v >= values.size()) break;
      i += values[v++] + (symbols[s + 1] & 3) * (std::size_t{1} << valueBits) + 1;  // zeros, already there
      s += 2;
    } else if (symbol == 0) {
      ++i;
      ++s;
    } else {
      if (v >= values.size()) break;
      plane[i++] = symbol == 2 ? values[v] : -values[v];
      ++v;
      ++s;
    }
  }
  return plane;
}

// A sample as a byte: nearest, halves to even, saturated.
std::uint8_t ReferenceByte(double v) {
  if (v <= 0.0) return 0;
  if (std::isnan(v) || v >= 255.0) return 255;
  return static_cast<std::uint8_t>(std::nearbyint(v));
}

}  // namespace

std::array<std::uint8_t, 4> ReferenceColourPixel(double y, double u, double v) {
  const double r = static_cast<double>(y + 1.140251L * v);
  const double b = static_cast<double>(y + 2.028398L * u);
  const double g = static_cast<double>(1.694915L * ((y - 0.3L * r) - 0.11L * b));
  return {ReferenceByte(b), ReferenceByte(g), ReferenceByte(r), 0};
}

Bytes ReferenceDecode(const Bytes& file) {
  const std::uint32_t W = Field(file, 3, 2), H = Field(file, 5, 2);
  const int channels = Field(file, 7, 1) == 8 ? 1 : 3, L = int(Field(file, 8, 1));
  Reader in{file, 36};
  std::vector<std::vector<double>> scales(channels);
  for (auto& table : scales)
    std::generate_n(std::back_inserter(table), L + 2, [&] { return std::bit_cast<double>(in.Next(8)); });
  std::vector<Plane> rebuilt;
  for (int c = 0; c < channels; ++c) {
    const std::uint32_t symbolCount = Field(file, 9 + 4 * c, 4), valueCount = Field(file, 21 + 4 * c, 4);
    const int bits = int(Field(file, 33 + c, 1));
    const Bytes symbols = ReadValues(in, symbolCount, 2);
    const Bytes values = ReadValues(in, valueCount, bits);
    rebuilt.push_back(
        Dequantised(ReferenceCoefficients(symbols, values, std::size_t{W} * H, bits), W, H, L, scales[c]));
    Inverse(rebuilt.back(), W, H, W, L);
  }
  Bytes pixels;
  for (std::size_t i = 0; i < std::size_t{W} * H; ++i) {
    if (channels == 1) {
      pixels.push_back(ReferenceByte(rebuilt[0][i]));
    } else {
      const std::array<std::uint8_t, 4> pixel = ReferenceColourPixel(rebuilt[0][i], rebuilt[1][i], rebuilt[2][i]);
      pixels.insert(pixels.end(), pixel.begin(), pixel.end());
    }
  }
  return pixels;
}
