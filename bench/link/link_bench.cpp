// Link throughput: the CRC, a transaction with the in-process simulated gauge, and
// a round trip over a pseudo-terminal to rz47-gauge-sim through the serial backend.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "device/crc16.h"
#include "link_gauge_sim_process.h"
#include "platform/link/serial_backend.h"
#include "sim/simulated_backend.h"

namespace rz47 {
namespace {

std::array<std::uint8_t, 5> Frame(std::uint8_t code, std::uint16_t index) {
  return {0xAA, code, static_cast<std::uint8_t>(~code), static_cast<std::uint8_t>(index >> 8),
          static_cast<std::uint8_t>(index & 0xFF)};
}

void BM_Crc16(benchmark::State& state) {
  std::vector<std::uint8_t> block(static_cast<std::size_t>(state.range(0)));
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 7);
  for (auto _ : state) benchmark::DoNotOptimize(Crc16(block.data(), block.size()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Crc16)->Arg(24)->Arg(204)->Arg(1024);

// Reads the whole 300-record demo archive, record by record, as the archive step does.
void ReadArchive(LinkBackend& link, FT_HANDLE h, benchmark::State& state) {
  std::array<std::uint8_t, 29> answer{};
  for (std::uint16_t j = 0; j < 300; ++j) {
    const auto frame = Frame(0x03, j);
    DWORD n = 0;
    link.Write(h, frame.data(), 5, &n);
    link.Read(h, answer.data(), static_cast<DWORD>(answer.size()), &n);
    if (n != answer.size() || Crc16(answer.data() + 5, 24) != 0) state.SkipWithError("bad record");
  }
}

void BM_SimulatedArchiveRead(benchmark::State& state) {
  sim::SimulatedBackend link(sim::MakeDemoGaugeModel());
  DWORD n = 0;
  FT_HANDLE h = nullptr;
  link.CreateDeviceInfoList(&n);
  link.Open(0, &h);
  for (auto _ : state) ReadArchive(link, h, state);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 300);
}
BENCHMARK(BM_SimulatedArchiveRead)->Unit(benchmark::kMillisecond);

struct PtyGauge {
  PtyGauge() : sim({}), link({sim.Port()}, [] { return std::vector<SerialPortEntry>{}; }) {
    DWORD n = 0;
    link.CreateDeviceInfoList(&n);
    if (link.Open(0, &handle) != FT_OK) handle = nullptr;
    link.SetDivisor(handle, 3);
    link.SetDataCharacteristics(handle, 8, 0, 0);
    link.SetTimeouts(handle, 3000, 3000);
  }
  testing::GaugeSimProcess sim;
  SerialBackend link;
  FT_HANDLE handle = nullptr;
};

void BM_PtyVersionRoundTrip(benchmark::State& state) {
  PtyGauge gauge;
  if (gauge.handle == nullptr) return state.SkipWithError("rz47-gauge-sim did not start");
  std::array<std::uint8_t, 21> answer{};
  const auto frame = Frame(0x01, 0);
  for (auto _ : state) {
    DWORD n = 0;
    gauge.link.Write(gauge.handle, frame.data(), 5, &n);
    gauge.link.Read(gauge.handle, answer.data(), static_cast<DWORD>(answer.size()), &n);
    if (n != answer.size()) state.SkipWithError("short answer");
  }
}
BENCHMARK(BM_PtyVersionRoundTrip)->Unit(benchmark::kMicrosecond);

void BM_PtyArchiveRead(benchmark::State& state) {
  PtyGauge gauge;
  if (gauge.handle == nullptr) return state.SkipWithError("rz47-gauge-sim did not start");
  for (auto _ : state) ReadArchive(gauge.link, gauge.handle, state);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 300);
}
BENCHMARK(BM_PtyArchiveRead)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rz47

BENCHMARK_MAIN();
