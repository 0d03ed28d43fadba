// A scripted gauge behind the link API for the session tests: it answers the six
// commands from its own data, can be told how to answer each attempt (silence, a
// broken header, a wrong echo, a bad CRC, a short payload), can fail any link call,
// and logs every call with the calling thread's priority. Reads never wait: an
// answer that is not there reads as zero bytes, as after a time-out.
//
// Called from the worker; the test reads its state after the worker has ended.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/link/ft_api.h"
#include "platform/worker_thread.h"

namespace rz47::test {

enum class Reply { Normal, Silent, BadHeader, WrongEcho, BadCrc, Short };

struct LinkCall {
  std::string name;  // "Create", "GetList", "Open", "SetDivisor", "SetData", "SetTimeouts",
                     // "Purge", "Write", "Read", "Close"
  bool validHandle = true;
  ThreadPriority priority = ThreadPriority::Normal;
  int command = -1;  // for a frame written: its command code
  int index = -1;    // and its index
};

class FakeGauge : public LinkBackend {
 public:
  FakeGauge();

  // Gauge data.
  std::vector<std::string> descriptions{"RZ-4.7 USB"};
  std::string firmwareDate = "10.06.2014";
  std::vector<std::array<std::uint8_t, 24>> archive;
  std::array<std::array<std::uint8_t, 52>, 13> materials{};
  std::array<std::uint8_t, 1024> screen{};
  // What arrived by CmdMaterialWrite, by material number.
  std::array<std::array<std::uint8_t, 52>, 13> written{};
  std::array<bool, 13> writtenFlags{};
  DWORD reportedDeviceCount = 0;  // when non-zero, Create reports this instead

  // Behaviour. `reply` picks the answer for attempt `attempt` (1-based, counted per
  // command and index) of a command; `fail` returns a non-zero status to fail a call
  // by its name; `onCall` sees every call before it is carried out.
  std::function<Reply(int command, int index, int attempt)> reply;
  std::function<FT_STATUS(const std::string& call)> fail;
  std::function<void(const LinkCall&)> onCall;

  // Log.
  std::vector<LinkCall> Calls() const;
  std::vector<int> CommandsSent() const;  // command codes of the frames written
  int OpenedIndex() const;
  bool DeviceOpen() const;
  int CountCalls(const std::string& name) const;
  std::size_t CallCount() const;

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
  FT_STATUS Begin(LinkCall call, FT_HANDLE handle);
  void Answer(int command, int index);
  std::vector<std::uint8_t> Payload(int command, int index) const;

  mutable std::mutex mutex_;
  std::vector<LinkCall> calls_;
  std::deque<std::uint8_t> pending_;
  std::vector<std::vector<int>> attempts_;  // [command][index]
  int openIndex_ = -1;
  bool open_ = false;
  int writeAwaitingRecord_ = -1;  // material index whose record follows the frame
  int lastOpenIndex_ = -1;
};

}  // namespace rz47::test
