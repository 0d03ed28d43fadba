#include "platform/link/serial_backend.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/link/serial_port_io.h"

namespace rz47 {
namespace {

constexpr DWORD kDefaultTimeoutMs = 3000;
// Ports start at the gauge's rate, so a caller that skips SetDivisor still talks to it.
constexpr speed_t kDefaultSpeed = B1000000;

std::uint32_t TokenOf(FT_HANDLE handle) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
}

FT_HANDLE HandleOf(std::uint32_t token) { return reinterpret_cast<FT_HANDLE>(static_cast<std::uintptr_t>(token)); }

void CopyText(char* field, std::size_t size, const std::string& text) {
  std::memset(field, 0, size);
  std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

int ClampTimeout(DWORD ms) { return static_cast<int>(std::min<DWORD>(ms, 24u * 3600u * 1000u)); }

}  // namespace

struct SerialBackend::Port {
  explicit Port(int descriptor, std::string devicePath) : fd(descriptor), path(std::move(devicePath)) {}
  ~Port() { ::close(fd); }
  Port(const Port&) = delete;
  Port& operator=(const Port&) = delete;

  std::mutex io;  // one call at a time on this port
  const int fd;
  const std::string path;
  int readTimeoutMs = kDefaultTimeoutMs;
  int writeTimeoutMs = kDefaultTimeoutMs;
};

SerialBackend::SerialBackend(std::vector<std::string> namedPorts, Enumerator enumerate)
    : namedPorts_(std::move(namedPorts)), enumerate_(std::move(enumerate)) {}

SerialBackend::~SerialBackend() = default;

std::shared_ptr<SerialBackend::Port> SerialBackend::Find(FT_HANDLE handle) {
  std::lock_guard lock(mutex_);
  auto it = open_.find(TokenOf(handle));
  return it == open_.end() ? nullptr : it->second;
}

FT_STATUS SerialBackend::CreateDeviceInfoList(DWORD* numDevices) {
  if (numDevices == nullptr) return FT_INVALID_PARAMETER;
  std::vector<SerialPortEntry> devices = BuildSerialPortList(enumerate_ ? enumerate_() : std::vector<SerialPortEntry>{},
                                                             namedPorts_);
  std::lock_guard lock(mutex_);
  devices_ = std::move(devices);
  *numDevices = static_cast<DWORD>(devices_.size());
  return FT_OK;
}

FT_STATUS SerialBackend::GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, DWORD* numDevices) {
  if (list == nullptr || numDevices == nullptr) return FT_INVALID_PARAMETER;
  std::lock_guard lock(mutex_);
  // The list the caller sized its buffer for is the one CreateDeviceInfoList counted.
  for (std::size_t i = 0; i < devices_.size(); ++i) {
    FT_DEVICE_LIST_INFO_NODE& node = list[i];
    std::memset(&node, 0, sizeof node);
    node.ID = devices_[i].id;
    node.LocId = devices_[i].location;
    CopyText(node.SerialNumber, sizeof node.SerialNumber, devices_[i].serialNumber);
    CopyText(node.Description, sizeof node.Description, devices_[i].description);
    for (const auto& [token, port] : open_) {
      if (port->path == devices_[i].path) {
        node.Flags = 1;  // opened
        node.ftHandle = token;
      }
    }
  }
  *numDevices = static_cast<DWORD>(devices_.size());
  return FT_OK;
}

FT_STATUS SerialBackend::Open(int index, FT_HANDLE* handle) {
  if (handle == nullptr) return FT_INVALID_PARAMETER;
  std::string path;
  {
    std::lock_guard lock(mutex_);
    if (index < 0 || static_cast<std::size_t>(index) >= devices_.size()) return FT_DEVICE_NOT_FOUND;
    path = devices_[static_cast<std::size_t>(index)].path;
    for (const auto& entry : open_) {
      if (entry.second->path == path) return FT_DEVICE_NOT_OPENED;
    }
  }
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return FT_DEVICE_NOT_OPENED;
  auto port = std::make_shared<Port>(fd, path);
  if (!isatty(fd) || ConfigureRawPort(fd, kDefaultSpeed) != FT_OK) return FT_DEVICE_NOT_OPENED;
  std::lock_guard lock(mutex_);
  // Another thread may have opened the same device meanwhile.
  for (const auto& entry : open_) {
    if (entry.second->path == path) return FT_DEVICE_NOT_OPENED;
  }
  const std::uint32_t token = nextToken_++;
  open_.emplace(token, std::move(port));
  *handle = HandleOf(token);
  return FT_OK;
}

FT_STATUS SerialBackend::SetDivisor(FT_HANDLE handle, std::uint16_t divisor) {
  auto port = Find(handle);
  if (!port) return FT_INVALID_HANDLE;
  const auto speed = StandardSpeedForDivisor(divisor);
  if (!speed) return FT_INVALID_PARAMETER;
  std::lock_guard io(port->io);
  return SetPortSpeed(port->fd, speed->code);
}

FT_STATUS SerialBackend::SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                                std::uint8_t parity) {
  auto port = Find(handle);
  if (!port) return FT_INVALID_HANDLE;
  std::lock_guard io(port->io);
  return SetPortDataCharacteristics(port->fd, wordLength, stopBits, parity);
}

FT_STATUS SerialBackend::SetTimeouts(FT_HANDLE handle, DWORD readTimeoutMs, DWORD writeTimeoutMs) {
  auto port = Find(handle);
  if (!port) return FT_INVALID_HANDLE;
  std::lock_guard io(port->io);
  port->readTimeoutMs = ClampTimeout(readTimeoutMs);
  port->writeTimeoutMs = ClampTimeout(writeTimeoutMs);
  return FT_OK;
}

FT_STATUS SerialBackend::Purge(FT_HANDLE handle, DWORD mask) {
  auto port = Find(handle);
  if (!port) return FT_INVALID_HANDLE;
  std::lock_guard io(port->io);
  return FlushPort(port->fd, mask);
}

FT_STATUS SerialBackend::Write(FT_HANDLE handle, const void* buffer, DWORD length, DWORD* written) {
  if (written != nullptr) *written = 0;
  auto port = Find(handle);
  if (!port) return FT_INVALID_HANDLE;
  if (buffer == nullptr && length > 0) return FT_INVALID_PARAMETER;
  std::lock_guard io(port->io);
  std::size_t put = 0;
  const FT_STATUS status =
      WritePort(port->fd, static_cast<const std::uint8_t*>(buffer), length, port->writeTimeoutMs, &put);
  if (written != nullptr) *written = static_cast<DWORD>(put);
  return status;
}

FT_STATUS SerialBackend::Read(FT_HANDLE handle, void* buffer, DWORD length, DWORD* read) {
  if (read != nullptr) *read = 0;
  auto port = Find(handle);
  if (!port) return FT_INVALID_HANDLE;
  if (buffer == nullptr && length > 0) return FT_INVALID_PARAMETER;
  std::lock_guard io(port->io);
  std::size_t got = 0;
  const FT_STATUS status = ReadPort(port->fd, static_cast<std::uint8_t*>(buffer), length, port->readTimeoutMs, &got);
  if (read != nullptr) *read = static_cast<DWORD>(got);
  return status;
}

FT_STATUS SerialBackend::Close(FT_HANDLE handle) {
  std::shared_ptr<Port> port;
  {
    std::lock_guard lock(mutex_);
    auto it = open_.find(TokenOf(handle));
    if (it == open_.end()) return FT_INVALID_HANDLE;
    port = std::move(it->second);
    open_.erase(it);
  }
  // Drop unsent bytes so closing never waits for a device that stopped reading; the
  // descriptor itself closes when the last call still using the port returns.
  std::lock_guard io(port->io);
  (void)tcflush(port->fd, TCIOFLUSH);
  return FT_OK;
}

}  // namespace rz47
