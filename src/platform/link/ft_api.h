// The D2XX-style link API the device session is written against: our own
// declarations of the calls it uses, with their arguments and status results.
// Every call returns a status, 0 on success. A read whose time-out passes succeeds
// with fewer bytes than asked (the count tells how many arrived).
//
// The calls go to one backend, installed once at start (SetLinkBackend): the serial
// backend (default; USB serial ports and named ports, POSIX termios I/O) or the
// simulated gauge. Calls for one handle come from one thread at a time.
#pragma once

#include <cstdint>
#include <memory>

namespace rz47 {

using FT_HANDLE = void*;
using FT_STATUS = std::uint32_t;
using DWORD = std::uint32_t;

constexpr FT_STATUS FT_OK = 0;
constexpr FT_STATUS FT_INVALID_HANDLE = 1;
constexpr FT_STATUS FT_DEVICE_NOT_FOUND = 2;
constexpr FT_STATUS FT_DEVICE_NOT_OPENED = 3;
constexpr FT_STATUS FT_IO_ERROR = 4;
constexpr FT_STATUS FT_INVALID_PARAMETER = 6;
constexpr FT_STATUS FT_OTHER_ERROR = 18;

constexpr DWORD FT_PURGE_RX = 1;
constexpr DWORD FT_PURGE_TX = 2;

// One 100-byte device node as the list returns it:
//   bytes  0..3   flags           bytes 4..7   type
//   bytes  8..11  id              bytes 12..15 location id
//   bytes 16..31  serial number (zero-terminated)
//   bytes 32..95  description (zero-terminated)
//   bytes 96..99  handle slot
struct FT_DEVICE_LIST_INFO_NODE {
  DWORD Flags;
  DWORD Type;
  DWORD ID;
  DWORD LocId;
  char SerialNumber[16];
  char Description[64];
  std::uint32_t ftHandle;  // 32-bit slot; FT_Open stores a handle token here
};
static_assert(sizeof(FT_DEVICE_LIST_INFO_NODE) == 100, "device nodes are 100 bytes");

FT_STATUS FT_CreateDeviceInfoList(DWORD* numDevices);
FT_STATUS FT_GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, DWORD* numDevices);
// Opens device `index` of the last list; the handle goes to `*handle`.
FT_STATUS FT_Open(int index, FT_HANDLE* handle);
FT_STATUS FT_SetDivisor(FT_HANDLE handle, std::uint16_t divisor);
FT_STATUS FT_SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                    std::uint8_t parity);
FT_STATUS FT_SetTimeouts(FT_HANDLE handle, DWORD readTimeoutMs, DWORD writeTimeoutMs);
FT_STATUS FT_Purge(FT_HANDLE handle, DWORD mask);
FT_STATUS FT_Write(FT_HANDLE handle, const void* buffer, DWORD length, DWORD* written);
FT_STATUS FT_Read(FT_HANDLE handle, void* buffer, DWORD length, DWORD* read);
FT_STATUS FT_Close(FT_HANDLE handle);

// A backend implements the calls. Handles are backend-defined tokens.
class LinkBackend {
 public:
  virtual ~LinkBackend() = default;
  virtual FT_STATUS CreateDeviceInfoList(DWORD* numDevices) = 0;
  virtual FT_STATUS GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, DWORD* numDevices) = 0;
  virtual FT_STATUS Open(int index, FT_HANDLE* handle) = 0;
  virtual FT_STATUS SetDivisor(FT_HANDLE handle, std::uint16_t divisor) = 0;
  virtual FT_STATUS SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength,
                                           std::uint8_t stopBits, std::uint8_t parity) = 0;
  virtual FT_STATUS SetTimeouts(FT_HANDLE handle, DWORD readTimeoutMs, DWORD writeTimeoutMs) = 0;
  virtual FT_STATUS Purge(FT_HANDLE handle, DWORD mask) = 0;
  virtual FT_STATUS Write(FT_HANDLE handle, const void* buffer, DWORD length, DWORD* written) = 0;
  virtual FT_STATUS Read(FT_HANDLE handle, void* buffer, DWORD length, DWORD* read) = 0;
  virtual FT_STATUS Close(FT_HANDLE handle) = 0;
};

// Installs the backend the calls go to (before any session starts) and returns the
// previous one. Without one, every call fails with FT_DEVICE_NOT_FOUND.
std::shared_ptr<LinkBackend> SetLinkBackend(std::shared_ptr<LinkBackend> backend);
std::shared_ptr<LinkBackend> CurrentLinkBackend();

}  // namespace rz47
