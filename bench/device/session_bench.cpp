// The device session at full size: a 1,600-record archive read from rz47-gauge-sim
// over a pseudo-terminal through the serial backend, one hand-over per record (to a
// hand-over loop as in rz47cli, and to a Qt event loop as in rz47), decoded into an
// empty table; and the CPU a session costs while it searches for a gauge that is not
// there. Numbers only; nothing is asserted.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "device/bmtread_usb.h"
#include "device/handover_loop.h"
#include "device/link_state.h"
#include "device/session_registry.h"
#include "link_gauge_sim_process.h"
#include "platform/link/serial_backend.h"
#include "platform/qt/qt_synchronizer.h"
#include "table/grid_data.h"

namespace rz47 {
namespace {

constexpr int kRecords = 1600;

// A fixture with a full archive: 1,600 records, one a minute.
std::string WriteFullArchiveFixture() {
  const auto path = std::filesystem::temp_directory_path() / "rz47-bench-1600.txt";
  std::ofstream out(path);
  for (int i = 0; i < kRecords; ++i) {
    char line[128];
    std::snprintf(line, sizeof line, "record\t%02d.06.2015\t%02d:%02d:00\t%d\t%d\t%d\t%d.%02d\t%d\n", 1 + i / 1440,
                  (i / 60) % 24, i % 60, i / 10, i % 10, i % 13, 50 + i % 400, i % 100, 1500 + i % 3000);
    out << line;
  }
  return path.string();
}

std::shared_ptr<LinkBackend> SerialTo(const std::string& port) {
  return std::make_shared<SerialBackend>(std::vector<std::string>{port},
                                         [] { return std::vector<SerialPortEntry>{}; });
}

// Starts an archive read into `grid` and returns its worker.
std::shared_ptr<BMTreadUSB> StartRead(GridData& grid, bool needMaterials) {
  auto worker = std::make_shared<BMTreadUSB>();
  worker->SetTargets(nullptr, nullptr, nullptr, &grid, nullptr);
  NeedMaterials = needMaterials ? 1 : 0;
  LinkStep = StepConnect;
  LinkJob = JobReadArchive;
  StartSession(worker);
  return worker;
}

void BM_FullArchiveReadOverPty(benchmark::State& state) {
  const bool needMaterials = state.range(0) != 0;
  testing::GaugeSimProcess sim({"--fixture", WriteFullArchiveFixture()});
  if (sim.Port().empty()) return state.SkipWithError("rz47-gauge-sim did not start");
  auto previous = SetLinkBackend(SerialTo(sim.Port()));
  HandoverLoop loop;
  for (auto _ : state) {
    GridData grid(8, 9);
    auto worker = StartRead(grid, needMaterials);
    loop.RunUntil([&] { return worker->Finished(); }, std::chrono::milliseconds(1));
    worker->WaitFor();
    if (grid.RowCount() != kRecords + 1) state.SkipWithError("the table did not fill");
  }
  SetLinkBackend(previous);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kRecords);
  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(kRecords) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FullArchiveReadOverPty)->Arg(0)->Arg(1)->ArgName("materialsFirst")->Unit(benchmark::kMillisecond)
    ->UseRealTime()->Iterations(5);

void BM_FullArchiveReadOverPtyQtHandOver(benchmark::State& state) {
  testing::GaugeSimProcess sim({"--fixture", WriteFullArchiveFixture()});
  if (sim.Port().empty()) return state.SkipWithError("rz47-gauge-sim did not start");
  auto previous = SetLinkBackend(SerialTo(sim.Port()));
  int argc = 1;
  char name[] = "session_bench";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  InstallQtSynchronizer();
  for (auto _ : state) {
    GridData grid(8, 9);
    auto worker = StartRead(grid, false);
    // As in the program: the event loop runs, and a timer notices the end.
    QEventLoop events;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (worker->Finished()) events.quit();
    });
    poll.start(1);
    events.exec();
    worker->WaitFor();
    if (grid.RowCount() != kRecords + 1) state.SkipWithError("the table did not fill");
  }
  BeginSynchronizerShutdown();
  SetLinkBackend(previous);
  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(kRecords) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FullArchiveReadOverPtyQtHandOver)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A session searching for a gauge that is not attached (no USB serial port, no named
// port) for one second: the share of one core the process uses meanwhile. Arg: the
// pause between failed passes in milliseconds (0 = poll without pause).
void BM_ConnectPollingCpu(benchmark::State& state) {
  auto previous = SetLinkBackend(std::make_shared<SerialBackend>(std::vector<std::string>{}));
  HandoverLoop loop;
  double cpuShare = 0;
  for (auto _ : state) {
    SessionOptions options;
    options.retryPause = std::chrono::milliseconds(state.range(0));
    auto worker = std::make_shared<BMTreadUSB>(options);
    GridData grid(8, 9);
    worker->SetTargets(nullptr, nullptr, nullptr, &grid, nullptr);
    LinkStep = StepConnect;
    LinkJob = JobReadArchive;
    const double cpuBefore = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    StartSession(worker);
    loop.RunUntil([&] {
      if (std::chrono::steady_clock::now() - start >= std::chrono::seconds(1)) CancelSession();
      return worker->Finished();
    });
    worker->WaitFor();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    cpuShare = (CpuSeconds() - cpuBefore) / wall.count();
  }
  SetLinkBackend(previous);
  state.counters["cpu_share_of_one_core"] = cpuShare;
}
BENCHMARK(BM_ConnectPollingCpu)->Arg(50)->Arg(0)->ArgName("pauseMs")->Unit(benchmark::kMillisecond)
    ->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace rz47

BENCHMARK_MAIN();
