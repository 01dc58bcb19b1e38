// Every operation of the dispatch table on filled layers; the counter "MP" is megapixels per
// second.
#include <benchmark/benchmark.h>

#include <string>

#include "base/version.h"
#include "texgen/texgen.h"

namespace {

struct Case {
  std::int32_t code;
  OpParams params;
};

// Representative arguments: layers 1 and 2 are sources, 3 the target.
const Case kCases[] = {
    {0, {0, 16, 7, 256, 1}},
    {1, {0, 0.05f, 0.07f, 256}},
    {2, {0, 32, 7, 256, 128, 6, 1}},
    {3, {0, 1.0f}},
    {4, {0, 10, 20, 30}},
    {5, {0, 16, 16, 0, 0, 0, 255, 255, 255}},
    {6, {0, 7, 16, 1}},
    {7, {0, -2, -1.5f, 1, 1.5f}},
    {8, {0, 5, 90}},
    {10, {1, 2, 3, 0.7f, 0.6f}},
    {11, {1, 2, 3, 0.7f, 0.6f}},
    {12, {1, 2, 3, 0.7f, 0.6f}},
    {13, {1, 2, 3, 0.7f, 0.6f}},
    {14, {1, 2, 3, 0.7f, 0.6f}},
    {15, {1, 2, 3, 0.7f, 0.6f}},
    {16, {1, 2, 3, 0.7f, 0.6f}},
    {17, {1, 2, 3, 0.7f, 0.6f}},
    {20, {1, 3, 1.2f, 0.8f, 1.1f}},
    {21, {1, 3, 1.1f, 0.9f, 1.0f}},
    {22, {1, 3, 10, -10, 5}},
    {23, {1, 3, 30, 0.1f, -10}},
    {24, {1, 3, 1, 2, 3}},
    {25, {1, 3}},
    {26, {1, 3}},
    {30, {1, 3}},
    {31, {1, 3}},
    {32, {1, 3, 3}},
    {33, {1, 3}},
    {34, {1, 3}},
    {35, {1, 3}},
    {36, {1, 3}},
    {37, {1, 3, 8}},
    {38, {1, 3, 16}},
    {39, {1, 3}},
    {40, {1, 3, 0.1f, 4, 0.07f, 3}},
    {41, {1, 3, 2, 0.5f}},
    {42, {1, 2, 3, 0.05f, 0.05f}},
    {43, {1, 3}},
    {44, {1, 3, 5, 4}},
    {45, {1, 3, 7, 9}},
    {46, {1, 3, 1}},
    {47, {1, 3, 20}},
    {48, {1, 3}},
    {49, {1, 3}},
    {50, {1, 3}},
    {51, {1, 3}},
};

void PrepareLayers(std::int32_t size) {
  InitLayers(size, size);
  RunOp(0, OpParams{1, 16, 3, 256, 1});  // colour plasma source
  RunOp(1, OpParams{2, 0.05f, 0.03f, 256});
}

void RunCase(benchmark::State& state, Case c) {
  const auto size = static_cast<std::int32_t>(state.range(0));
  PrepareLayers(size);
  for (auto _ : state) {
    const TexgenStatus s = RunOp(c.code, c.params);
    benchmark::DoNotOptimize(s);
    benchmark::ClobberMemory();
  }
  const double pixels = static_cast<double>(size) * size;
  state.counters["MP"] =
      benchmark::Counter(pixels * state.iterations() / 1e6, benchmark::Counter::kIsRate);
  FreeLayers();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--version") return (PrintVersion("texgen_bench"), 0);
  for (const Case& c : kCases) {
    const std::string call = ExportOp(c.code, c.params);  // "name(arguments);"
    const std::string name = call.substr(0, call.find('('));
    benchmark::RegisterBenchmark(name.c_str(), RunCase, c)
        ->Arg(256)
        ->Arg(512)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
