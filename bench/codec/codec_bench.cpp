// Decoding a 1024 × 1024 colour picture (lastLevel 5, 8-bit values) through the codec's face: dense
// (no threshold), thresholded at 4 (about 4 bits per pixel) and at 10 (about 0.4), from memory and
// from a file. Counters report megapixels per second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <streambuf>
#include <string>
#include <vector>

#include "base/version.h"
#include "images/hwl.h"

namespace {

constexpr std::uint32_t kSize = 1024;
constexpr double kPixels = double(kSize) * kSize;

// A photograph-like test card: smooth gradients, a few edges and mild noise.
std::vector<std::uint8_t> TestCard() {
  std::mt19937 random(1);
  std::normal_distribution<double> noise(0.0, 3.0);
  std::vector<std::uint8_t> pixels;
  pixels.reserve(std::size_t{kSize} * kSize * 3);
  for (std::uint32_t y = 0; y < kSize; ++y) {
    for (std::uint32_t x = 0; x < kSize; ++x) {
      const double edge = ((x / 128 + y / 96) % 2) * 40.0;
      const double base[3] = {110 + 80 * std::sin(x / 90.0) + edge, 120 + 70 * std::cos(y / 70.0 + x / 300.0),
                              100 + 60 * std::sin((x + 2.0 * y) / 150.0) - edge};
      for (double channel : base) pixels.push_back(static_cast<std::uint8_t>(std::clamp(channel + noise(random), 0.0, 255.0)));
    }
  }
  return pixels;
}

struct EncodedCard {
  std::string path;
  std::string bytes;
};

EncodedCard Encode(std::optional<double> threshold, const char* name) {
  static const std::vector<std::uint8_t> card = TestCard();
  HwlEncodeOptions options;
  options.lastLevel = 5;
  options.threshold = threshold;
  EncodedCard encoded;
  encoded.path = (std::filesystem::temp_directory_path() / name).string();
  HwlEncodeReport report;
  if (!EncodeHwlPicture({card.data(), kSize, kSize, 3}, options, encoded.path, report).encoded()) std::abort();
  std::ifstream file(encoded.path, std::ios::binary);
  encoded.bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return encoded;
}

const EncodedCard& Dense() {
  static const EncodedCard encoded = Encode(std::nullopt, "codec_bench_dense.hwl");
  return encoded;
}

const EncodedCard& Thresholded() {
  static const EncodedCard encoded = Encode(4.0, "codec_bench_thresholded.hwl");
  return encoded;
}

// About 0.4 bits per pixel: almost every detail is zero, so blending decides most samples.
const EncodedCard& Sparse() {
  static const EncodedCard encoded = Encode(10.0, "codec_bench_sparse.hwl");
  return encoded;
}

// Reads straight out of memory, so the decode is timed without copying the file first.
class MemoryBuffer : public std::streambuf {
 public:
  explicit MemoryBuffer(const std::string& bytes) {
    char* begin = const_cast<char*>(bytes.data());
    setg(begin, begin, begin + bytes.size());
  }
};

void ReportRate(benchmark::State& state, double pixelsPerIteration) {
  state.counters["MP/s"] = benchmark::Counter(pixelsPerIteration / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void DecodeFromMemory(benchmark::State& state, const EncodedCard& encoded) {
  std::vector<std::uint8_t> pixels;
  ImageHeader header;
  for (auto _ : state) {
    MemoryBuffer buffer(encoded.bytes);
    std::istream stream(&buffer);
    benchmark::DoNotOptimize(LoadImageFile(pixels, header, stream, true));
    benchmark::DoNotOptimize(pixels.data());
  }
  state.counters["bytes"] = double(encoded.bytes.size());
  ReportRate(state, kPixels);
}

void BM_DecodeColour(benchmark::State& state) { DecodeFromMemory(state, Dense()); }
void BM_DecodeColourThresholded(benchmark::State& state) { DecodeFromMemory(state, Thresholded()); }
void BM_DecodeColourSparse(benchmark::State& state) { DecodeFromMemory(state, Sparse()); }

void BM_DecodeColourFile(benchmark::State& state) {
  std::vector<std::uint8_t> pixels;
  ImageHeader header;
  for (auto _ : state) {
    benchmark::DoNotOptimize(LoadImageFile(pixels, header, Dense().path, true));
    benchmark::DoNotOptimize(pixels.data());
  }
  ReportRate(state, kPixels);
}

}  // namespace

BENCHMARK(BM_DecodeColour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeColourThresholded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeColourSparse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeColourFile)->Unit(benchmark::kMillisecond);

// Google Benchmark's own main, with --version in front (--help is the library's).
int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--version") return (PrintVersion("codec_bench"), 0);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
