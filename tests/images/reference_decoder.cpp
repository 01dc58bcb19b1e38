#include "tests/images/reference_decoder.h"

#include <cmath>
#include <cstring>

namespace {

using Plane = std::vector<double>;
constexpr long double kC = 0.7071067811865476;

struct Reader {
  const Bytes& file;
  std::size_t offset = 0;
  std::uint8_t Byte() { return offset < file.size() ? file[offset++] : 0; }
  // The little-endian field of `size` bytes at `at` (a header field), leaving the reading place alone.
  std::uint32_t Uint(std::size_t at, int size) const {
    std::uint32_t value = 0;
    for (int b = size - 1; b >= 0; --b) value = value << 8 | file[at + b];
    return value;
  }
  double Double() {
    std::uint64_t bits = 0;
    for (int b = 0; b < 8; ++b) bits |= std::uint64_t{Byte()} << (8 * b);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
};

// `count` values of `bits` bits from one bit string, lowest bit first. Symbols are 2-bit values.
Bytes ReadValues(Reader& in, std::uint32_t count, int bits) {
  Bytes packed((std::size_t{count} * bits + 7) / 8);
  for (auto& byte : packed) byte = in.Byte();
  Bytes values;
  for (std::uint32_t i = 0; i < count; ++i) {
    int value = 0;
    for (int b = 0; b < bits; ++b) {
      const std::size_t bit = std::size_t{i} * bits + b;
      value |= ((packed[bit / 8] >> (bit % 8)) & 1) << b;
    }
    values.push_back(value);
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

void Inverse(Plane& source, Plane& destination, std::uint32_t w, std::uint32_t h, std::uint32_t W, int k) {
  if (k > 0) Inverse(source, source, w / 2, h / 2, W, k - 1);
  Plane B(source.size()), A(source.size());
  for (std::uint32_t x = 0; x < w; ++x) {
    std::vector<double> L, Hi;
    for (std::uint32_t j = 0; j < h / 2; ++j) {
      L.push_back(source[j * W + x]);
      Hi.push_back(source[(h / 2 + j) * W + x]);
    }
    const std::vector<double> column = Synthesise(L, Hi);
    for (std::uint32_t y = 0; y < column.size(); ++y) B[y * W + x] = column[y];
  }
  for (std::uint32_t y = 0; y < h; ++y) {
    const std::vector<double> L(B.begin() + y * W, B.begin() + y * W + w / 2);
    const std::vector<double> Hi(B.begin() + y * W + w / 2, B.begin() + y * W + w);
    const std::vector<double> row = Synthesise(L, Hi);
    for (std::uint32_t x = 0; x < row.size(); ++x) A[y * W + x] = row[x];
  }
  for (std::uint32_t y = 0; y < h; ++y) {
    for (std::uint32_t x = 0; x < w; ++x) destination[y * W + x] = A[y * W + x];
  }
}

}  // namespace

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

std::uint8_t ReferenceByte(double v) {
  if (v <= 0.0) return 0;
  if (std::isnan(v) || v >= 255.0) return 255;
  return static_cast<std::uint8_t>(std::nearbyint(v));
}

std::array<std::uint8_t, 4> ReferenceColourPixel(double y, double u, double v) {
  const double r = static_cast<double>(y + 1.140251L * v);
  const double b = static_cast<double>(y + 2.028398L * u);
  const double g = static_cast<double>(1.694915L * ((y - 0.3L * r) - 0.11L * b));
  return {ReferenceByte(b), ReferenceByte(g), ReferenceByte(r), 0};
}

Bytes ReferenceDecode(const Bytes& file) {
  Reader in{file};
  const std::uint32_t W = in.Uint(3, 2), H = in.Uint(5, 2);
  const int bitsPerPixel = in.Uint(7, 1), L = in.Uint(8, 1);
  const int channels = bitsPerPixel == 8 ? 1 : 3;
  in.offset = 36;
  std::vector<std::vector<double>> scales(channels);
  for (auto& table : scales) {
    for (int k = 0; k < L + 2; ++k) table.push_back(in.Double());
  }
  std::vector<Plane> rebuilt;
  for (int c = 0; c < channels; ++c) {
    const std::uint32_t symbolCount = in.Uint(9 + 4 * c, 4), valueCount = in.Uint(21 + 4 * c, 4);
    const int bits = in.Uint(33 + c, 1);
    const Bytes symbols = ReadValues(in, symbolCount, 2);
    const Bytes values = ReadValues(in, valueCount, bits);
    Plane plane = Dequantised(ReferenceCoefficients(symbols, values, std::size_t{W} * H, bits), W, H, L, scales[c]);
    Plane output(plane.size());
    Inverse(plane, output, W, H, W, L);
    rebuilt.push_back(output);
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
