// Export and report benchmarks on large measurement tables (they report, they
// assert nothing). Peak memory of one export is measured from outside, e.g.
//   /usr/bin/time -v ./output_bench --benchmark_filter='Export/xlsx/1000000'
// Files go to $TMPDIR (default /tmp) and are removed after each run; the size of
// the last file written is reported as a counter.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <filesystem>
#include <map>

#include "output/qt/quick_report6.h"
#include "output/report_lines.h"
#include "output/workbook_export.h"
#include "sample_tables.h"

namespace rz47 {
namespace {

const GridData& Table(int rows) {
  static std::map<int, GridData> tables;
  auto it = tables.find(rows);
  if (it == tables.end()) it = tables.emplace(rows, testing::MakeMeasurementGrid(rows)).first;
  return it->second;
}

void Export(benchmark::State& state, const char* extension) {
  const GridData& grid = Table(static_cast<int>(state.range(0)));
  const std::filesystem::path file = std::filesystem::temp_directory_path() / (std::string("rz47-bench") + extension);
  std::uintmax_t size = 0;
  for (auto _ : state) {
    const ExportResult result = ExportWorkbook(grid, testing::Cp("Архив измерений "), file);
    if (result.status != ExportStatus::Ok) state.SkipWithError(result.detail.c_str());
    state.PauseTiming();
    size = std::filesystem::file_size(file);
    std::filesystem::remove(file);
    state.ResumeTiming();
  }
  state.counters["MB"] = static_cast<double>(size) / 1e6;
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BuildLines(benchmark::State& state) {
  const GridData& grid = Table(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ReportLines lines = BuildReportLines(grid);
    benchmark::DoNotOptimize(lines.Line(lines.Count() - 1).data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// From the Print command to a preview with every page rendered: build the report,
// open the (maximised) preview and let it lay out its pages.
void OpenPreview(benchmark::State& state) {
  const GridData& grid = Table(static_cast<int>(state.range(0)));
  int pages = 0;
  for (auto _ : state) {
    TQuickReport6 report(grid, testing::Cp("Архив измерений "), 0, CurrentLocalMoment());
    std::unique_ptr<QPrintPreviewDialog> dialog = report.CreatePreview(nullptr);
    dialog->show();
    QApplication::processEvents();
    pages = dialog->findChild<QPrintPreviewWidget*>()->pageCount();
    dialog->close();
  }
  state.counters["pages"] = pages;
}

BENCHMARK_CAPTURE(Export, xlsx, ".xlsx")->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(Export, xls, ".xls")->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BuildLines)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenPreview)->Arg(1600)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace rz47

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
