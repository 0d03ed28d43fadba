// The link backend for real serial devices: the gauge's FTDI port, a Bluetooth serial
// port, or the simulator's pseudo-terminal.
//
// The device list is taken when CreateDeviceInfoList runs (see serial_port_list.h);
// GetDeviceInfoList and Open refer to that snapshot. Handles are small tokens (they
// fit the node's 32-bit handle slot), mapped to open file descriptors; a device can
// be open through one handle at a time. Until SetTimeouts, reads and writes wait at
// most 3,000 ms.
// Calls may come from any thread; calls on one handle are serialised.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/link/ft_api.h"
#include "platform/link/serial_port_list.h"

namespace rz47 {

class SerialBackend final : public LinkBackend {
 public:
  using Enumerator = std::function<std::vector<SerialPortEntry>()>;

  // namedPorts: paths listed as gauges in addition to the enumerated USB ports.
  // enumerate: the USB enumeration (replaceable for machines without USB).
  explicit SerialBackend(std::vector<std::string> namedPorts, Enumerator enumerate = EnumerateUsbSerialPorts);
  ~SerialBackend() override;

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

 private:
  struct Port;

  std::shared_ptr<Port> Find(FT_HANDLE handle);

  const std::vector<std::string> namedPorts_;
  const Enumerator enumerate_;
  std::mutex mutex_;  // guards the members below, never held during I/O
  std::vector<SerialPortEntry> devices_;
  std::map<std::uint32_t, std::shared_ptr<Port>> open_;
  std::uint32_t nextToken_ = 1;
};

}  // namespace rz47
