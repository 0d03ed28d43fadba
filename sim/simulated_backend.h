// A link backend with the simulated gauge attached, served in process: the device
// list holds one device, "RZ-4.7 simulated"; FT_Write feeds the gauge, FT_Read hands
// out its answer bytes. A read that asks for more than the gauge has sent returns
// FT_OK with what there is after a short wait (default 1 ms, not the configured
// time-out: tests of missing answers stay fast; nothing may depend on the length).
// Like the real device it opens through one handle at a time. Once the gauge is
// unplugged (a fault, or Unplug()), the list is empty and every call on the handle
// fails; Close still releases the handle.
// Thread-safe; the counters are for tests.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

#include "platform/link/ft_api.h"
#include "sim/gauge_protocol.h"

namespace rz47::sim {

inline constexpr const char* kSimulatedDeviceDescription = "RZ-4.7 simulated";

struct SimulatedBackendOptions {
  std::chrono::microseconds shortReadWait{1000};
};

class SimulatedBackend final : public LinkBackend {
 public:
  explicit SimulatedBackend(GaugeModel model, GaugeFaults faults = {}, SimulatedBackendOptions options = {});

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

  // Pulls the cable: the device leaves the list and the open handle goes dead.
  void Unplug();
  void SetFaults(const GaugeFaults& faults);

  std::size_t FramesSeen() const;
  std::size_t OpenCount() const;   // successful Open calls
  std::size_t CloseCount() const;  // Close calls that released a handle
  bool IsOpen() const;
  // Bytes of answers not yet read.
  std::size_t PendingAnswerBytes() const;
  GaugeModel Model() const;

 private:
  bool Attached() const { return !unplugged_ && !protocol_.Unplugged(); }
  FT_STATUS Check(FT_HANDLE handle) const;

  const SimulatedBackendOptions options_;
  mutable std::mutex mutex_;
  GaugeProtocol protocol_;
  std::deque<std::uint8_t> answers_;
  bool unplugged_ = false;
  std::uint32_t openToken_ = 0;  // 0: not open
  std::uint32_t nextToken_ = 1;
  std::size_t opens_ = 0;
  std::size_t closes_ = 0;
  DWORD listedDevices_ = 0;
};

}  // namespace rz47::sim
