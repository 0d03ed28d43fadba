// Sorting and copying measurement tables of 100,000 and 1,000,000 rows, and the
// step-by-step reference sort for comparison. Targets for a million rows: any sort
// within 2 s, the whole-table copy text within 1 s.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/collation.h"
#include "platform/cp1251.h"
#include "platform/format_settings.h"
#include "table/columns.h"
#include "table/copy_text.h"
#include "table/grid_data.h"
#include "table/sort_grid.h"
#include "table/sort_grid_literal.h"

namespace rz47 {
namespace {

const FormatSettings& RussianSettings() {
  static const FormatSettings settings = MakeFormatSettings("dd.MM.yyyy", ',');
  return settings;
}

const TextCollator& RussianCollator() {
  static const TextCollator collator("ru_RU");
  return collator;
}

// A merged archive as the gauge fills it: records in order, dates rising over the
// years with several measurements a day, series and numbers, the gauge's materials.
GridData ArchiveTable(int rows, bool shuffled) {
  static const char* const kMaterials[] = {"Бетон",  "Газобетон", "Пенобетон", "Кирпич",   "Дерево",
                                           "Сосна",  "Дуб",       "Гипс",      "Керамзит", "Стекло",
                                           "Металл", "Пластик",   "Материал 13"};
  std::mt19937 random(12345);
  std::vector<std::vector<std::string>> cells;
  cells.reserve(rows);
  std::int64_t day = DaysFromCivil({2014, 6, 17});
  int second = 8 * 3600;
  for (int i = 0; i < rows; ++i) {
    second += std::uniform_int_distribution<int>(5, 900)(random);
    if (second >= 18 * 3600) {
      second = 8 * 3600;
      day += std::uniform_int_distribution<int>(0, 2)(random);
    }
    const TimeOfDay time{second / 3600, second / 60 % 60, second % 60};
    const double thickness = std::uniform_int_distribution<int>(500, 50000)(random) / 100.0;
    cells.push_back({std::to_string(i + 1), FormatTimeHms(time), FormatDate(CivilFromDays(day), RussianSettings()),
                     std::to_string(1 + i / 500), std::to_string(1 + i % 500),
                     Utf8ToCp1251(kMaterials[std::uniform_int_distribution<int>(0, 12)(random)]),
                     FormatFixed2(thickness, RussianSettings()),
                     std::to_string(std::uniform_int_distribution<int>(400, 6000)(random))});
  }
  if (shuffled) std::shuffle(cells.begin(), cells.end(), random);
  GridData grid(kStandardColCount, rows + 1);
  WriteHeadings(grid, 0);
  for (int i = 0; i < rows; ++i) grid.SetRow(i + 1, {cells[i].begin(), cells[i].end()});
  return grid;
}

const GridData& CachedTable(int rows, bool shuffled) {
  static std::vector<std::pair<std::pair<int, bool>, GridData>> tables;
  for (const auto& [key, grid] : tables) {
    if (key == std::make_pair(rows, shuffled)) return grid;
  }
  tables.emplace_back(std::make_pair(rows, shuffled), ArchiveTable(rows, shuffled));
  return tables.back().second;
}

// Args: rows, column, shuffled. The first heading click sorts descending.
void BM_SortGrid(benchmark::State& state) {
  const GridData& original = CachedTable(static_cast<int>(state.range(0)), state.range(2) != 0);
  const int column = static_cast<int>(state.range(1));
  for (auto _ : state) {
    state.PauseTiming();
    GridData grid = original;
    state.ResumeTiming();
    SortGrid(grid, column, -1, RussianSettings(), RussianCollator());
    benchmark::DoNotOptimize(grid);
  }
}

void BM_SortGridByRowSearch(benchmark::State& state) {
  const GridData& original = CachedTable(static_cast<int>(state.range(0)), state.range(2) != 0);
  const int column = static_cast<int>(state.range(1));
  for (auto _ : state) {
    state.PauseTiming();
    GridData grid = original;
    state.ResumeTiming();
    SortGridByRowSearch(grid, column, -1, RussianSettings(), RussianCollator());
    benchmark::DoNotOptimize(grid);
  }
}

void BM_TableCopyText(benchmark::State& state) {
  const GridData& grid = CachedTable(static_cast<int>(state.range(0)), false);
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string text = BuildTableCopyText(grid, 0);
    bytes = text.size();
    benchmark::DoNotOptimize(text);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

void SortArgs(benchmark::internal::Benchmark* b) {
  for (int rows : {100'000, 1'000'000}) {
    for (int column : {0, 2, 5, 6}) b->Args({rows, column, 0});
    b->Args({rows, 0, 1});
  }
}

BENCHMARK(BM_SortGrid)->Apply(SortArgs)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_TableCopyText)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
// Quadratic: a million rows would take hours.
BENCHMARK(BM_SortGridByRowSearch)
    ->Args({10'000, 0, 0})
    ->Args({100'000, 0, 0})
    ->Args({100'000, 6, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace
}  // namespace rz47

BENCHMARK_MAIN();
