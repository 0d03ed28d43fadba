// Saving and loading ".rz4" archives of realistic tables (reports only).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "archive/archive_file.h"
#include "realistic_table.h"

namespace rz47 {
namespace {

std::string TempPath() {
  static std::string folder = [] {
    std::string pattern = "/tmp/rz47-archive-bench-XXXXXX";
    return std::string(::mkdtemp(pattern.data()));
  }();
  return folder + "/bench.rz4";
}

void BM_SaveGridToFile(benchmark::State& state) {
  GridData grid;
  bench::FillRealisticTable(grid, static_cast<int>(state.range(0)));
  const std::string path = TempPath();
  for (auto _ : state) {
    if (!SaveGridToFile(grid, path).ok) state.SkipWithError("save failed");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["MB"] = static_cast<double>(EncodeGrid(grid).size()) / 1e6;
}

void BM_LoadGridFromFile(benchmark::State& state) {
  GridData source;
  bench::FillRealisticTable(source, static_cast<int>(state.range(0)));
  const std::string path = TempPath();
  if (!SaveGridToFile(source, path).ok) state.SkipWithError("save failed");
  GridData grid;
  for (auto _ : state) {
    if (!LoadGridFromFile(grid, path).ok) state.SkipWithError("load failed");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_SaveGridToFile)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadGridFromFile)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rz47

BENCHMARK_MAIN();
