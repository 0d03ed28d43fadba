// A link backend between the session and the simulated gauge that spoils the
// traffic on purpose: answers lost on the wire, cut short, or with one byte
// damaged, calls that fail, the cable pulled and the Cancel button pressed at a
// chosen link call. Every decision comes from a seeded generator, and the session
// makes its calls in a fixed order, so a seed replays the same run.
//
// Only answers (gauge to PC) are damaged: the command frame carries no checksum, so
// a damaged frame could make a real gauge store a record under another number, a
// fault of the protocol and not of the program.
//
// Called by the worker thread only (one handle, one thread); Calls() may be read
// from any thread, the other counters once the worker has ended.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>

#include "platform/link/ft_api.h"
#include "sim/simulated_backend.h"

namespace rz47::test {

struct LinkFaultRates {
  // Chances per read in thousandths.
  int lostPermille = 0;       // the answer is lost: nothing arrives
  int shortPermille = 0;      // only the first part arrives
  int damagedPermille = 0;    // one byte arrives changed
  int failedPermille = 0;     // the read call fails
  int failedWritePermille = 0;
  std::optional<std::size_t> cancelAtCall;  // LinkCancel is set at this call (1-based)
  std::optional<std::size_t> unplugAtCall;  // the gauge is unplugged before this call
  // A session that still runs at this call is cancelled: faults that never pass
  // (a silent gauge, an unplugged one) would otherwise keep it going for ever.
  std::size_t giveUpAtCall = 1500;
};

class FaultyLink final : public LinkBackend {
 public:
  FaultyLink(std::shared_ptr<sim::SimulatedBackend> gauge, LinkFaultRates rates, std::uint32_t seed);

  FT_STATUS CreateDeviceInfoList(DWORD* numDevices) override;
  FT_STATUS GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, DWORD* numDevices) override;
  FT_STATUS Open(int index, FT_HANDLE* handle) override;
  FT_STATUS SetDivisor(FT_HANDLE handle, std::uint16_t divisor) override;
  FT_STATUS SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                   std::uint8_t parity) override;
  FT_STATUS SetTimeouts(FT_HANDLE handle, DWORD readTimeoutMs, DWORD writeTimeoutMs) override;
  FT_STATUS Purge(FT_HANDLE handle, DWORD mask) override;
  FT_STATUS Write(FT_HANDLE handle, const void* buffer, DWORD length, DWORD* written) override;
  FT_STATUS Read(FT_HANDLE handle, void* buffer, DWORD length, DWORD* read) override;
  FT_STATUS Close(FT_HANDLE handle) override;

  // Link calls made so far (any thread may ask).
  std::size_t Calls() const { return calls_.load(); }
  // The call at which this link set LinkCancel (0: it did not).
  std::size_t CancelledAtCall() const { return cancelledAt_; }
  // Reads whose bytes were changed on the way.
  std::size_t DamagedReads() const { return damaged_; }

 private:
  void Tick();
  bool Roll(int permille);

  std::shared_ptr<sim::SimulatedBackend> gauge_;
  LinkFaultRates rates_;
  std::mt19937 random_;
  std::atomic<std::size_t> calls_{0};
  std::size_t cancelledAt_ = 0;
  std::size_t damaged_ = 0;
};

}  // namespace rz47::test
