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
  double Double() {
    std::uint64_t bits = 0;
    for (int b = 0; b < 8; ++b) bits |= std::uint64_t{Byte()} << (8 * b);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
};

std::vector<int> ReadSymbols(Reader& in, std::uint32_t count) {
  Bytes packed((count + 3) / 4);
  for (auto& byte : packed) byte = in.Byte();
  std::vector<int> symbols;
  for (std::uint32_t i = 0; i < count; ++i) symbols.push_back((packed[i / 4] >> (2 * (i % 4))) & 3);
  return symbols;
}

std::vector<int> ReadValues(Reader& in, std::uint32_t count, int bits) {
  Bytes packed((std::size_t{count} * bits + 7) / 8);
  for (auto& byte : packed) byte = in.Byte();
  std::vector<int> values;
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

std::vector<std::int32_t> Coefficients(const std::vector<int>& symbols, const std::vector<int>& values, std::size_t size,
                                       int bits) {
  std::vector<std::int32_t> plane(size, 0);
  std::size_t i = 0, s = 0, v = 0;
  while (i < size && s < symbols.size()) {
    if (symbols[s] == 1) {
      i += values[v++] + symbols[s + 1] * (std::size_t{1} << bits) + 1;
      s += 2;
    } else {
      plane[i++] = symbols[s] == 0 ? 0 : (symbols[s] == 2 ? values[v] : -values[v]);
      if (symbols[s++] != 0) ++v;
    }
  }
  return plane;
}

double Factor(double scale) { return scale == 0.0 ? 0.0 : static_cast<double>(1.0L / scale); }

Plane Dequantised(const std::vector<std::int32_t>& in, std::uint32_t W, std::uint32_t H, int L,
                  const std::vector<double>& scale) {
  Plane out(in.size(), 0.0);
  for (int k = 0; k <= L; ++k) {
    for (std::uint32_t y = 0; y < (H >> k); ++y) {
      for (std::uint32_t x = y < (H >> (k + 1)) ? (W >> (k + 1)) : 0; x < (W >> k); ++x) {
        out[y * W + x] = static_cast<double>(static_cast<long double>(Factor(scale[k])) * in[y * W + x]);
      }
    }
  }
  for (std::uint32_t y = 0; y < (H >> (L + 1)); ++y) {
    for (std::uint32_t x = 0; x < (W >> (L + 1)); ++x) {
      out[y * W + x] = static_cast<double>(static_cast<long double>(Factor(scale[L + 1])) * in[y * W + x]);
    }
  }
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

std::uint8_t ToByte(double v) {
  if (v <= 0.0) return 0;
  if (std::isnan(v) || v >= 255.0) return 255;
  return static_cast<std::uint8_t>(std::nearbyint(v));
}

}  // namespace

Bytes ReferenceDecode(const Bytes& file) {
  const ImageHeader header = ParseImageHeader(std::span<const std::uint8_t, kImageHeaderSize>(file.data(), kImageHeaderSize));
  const std::uint32_t W = header.width, H = header.height;
  const int L = header.lastLevel;
  const int channels = header.bitsPerPixel == 8 ? 1 : 3;
  Reader in{file, kImageHeaderSize};
  std::vector<std::vector<double>> scales(channels);
  for (auto& table : scales) {
    for (int k = 0; k < L + 2; ++k) table.push_back(in.Double());
  }
  std::vector<Plane> rebuilt;
  for (int c = 0; c < channels; ++c) {
    const std::vector<int> symbols = ReadSymbols(in, header.symbolCount[c]);
    const std::vector<int> values = ReadValues(in, header.valueCount[c], header.valueBits[c]);
    Plane plane = Dequantised(Coefficients(symbols, values, std::size_t{W} * H, header.valueBits[c]), W, H, L, scales[c]);
    Plane output(plane.size());
    Inverse(plane, output, W, H, W, L);
    rebuilt.push_back(output);
  }
  Bytes pixels;
  for (std::size_t i = 0; i < std::size_t{W} * H; ++i) {
    if (channels == 1) {
      pixels.push_back(ToByte(rebuilt[0][i]));
      continue;
    }
    const double y = rebuilt[0][i], u = rebuilt[1][i], v = rebuilt[2][i];
    const double r = static_cast<double>(y + 1.140251L * v);
    const double b = static_cast<double>(y + 2.028398L * u);
    const double g = static_cast<double>(1.694915L * ((y - 0.3L * r) - 0.11L * b));
    for (std::uint8_t byte : {ToByte(b), ToByte(g), ToByte(r), std::uint8_t{0}}) pixels.push_back(byte);
  }
  return pixels;
}
