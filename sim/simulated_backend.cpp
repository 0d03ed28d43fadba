#include "sim/simulated_backend.h"

#include <cstring>
#include <thread>

namespace rz47::sim {
namespace {

std::uint32_t TokenOf(FT_HANDLE handle) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
}

}  // namespace

SimulatedBackend::SimulatedBackend(GaugeModel model, GaugeFaults faults, SimulatedBackendOptions options)
    : options_(options), protocol_(std::move(model), std::move(faults)) {}

FT_STATUS SimulatedBackend::Check(FT_HANDLE handle) const {
  if (openToken_ == 0 || TokenOf(handle) != openToken_) return FT_INVALID_HANDLE;
  return Attached() ? FT_OK : FT_IO_ERROR;
}

FT_STATUS SimulatedBackend::CreateDeviceInfoList(DWORD* numDevices) {
  if (numDevices == nullptr) return FT_INVALID_PARAMETER;
  std::lock_guard lock(mutex_);
  listedDevices_ = Attached() ? 1 : 0;
  *numDevices = listedDevices_;
  return FT_OK;
}

FT_STATUS SimulatedBackend::GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, DWORD* numDevices) {
  if (list == nullptr || numDevices == nullptr) return FT_INVALID_PARAMETER;
  std::lock_guard lock(mutex_);
  // Fill only as many nodes as the last count promised the caller room for.
  if (listedDevices_ == 1) {
    std::memset(list, 0, sizeof *list);
    std::strncpy(list->SerialNumber, "SIM00001", sizeof list->SerialNumber - 1);
    std::strncpy(list->Description, kSimulatedDeviceDescription, sizeof list->Description - 1);
    list->Flags = openToken_ != 0 ? 1 : 0;
    list->ftHandle = openToken_;
  }
  *numDevices = listedDevices_;
  return FT_OK;
}

FT_STATUS SimulatedBackend::Open(int index, FT_HANDLE* handle) {
  if (handle == nullptr) return FT_INVALID_PARAMETER;
  std::lock_guard lock(mutex_);
  if (index != 0 || !Attached()) return FT_DEVICE_NOT_FOUND;
  if (openToken_ != 0) return FT_DEVICE_NOT_OPENED;
  openToken_ = nextToken_++;
  ++opens_;
  answers_.clear();
  *handle = reinterpret_cast<FT_HANDLE>(static_cast<std::uintptr_t>(openToken_));
  return FT_OK;
}

FT_STATUS SimulatedBackend::SetDivisor(FT_HANDLE handle, std::uint16_t divisor) {
  std::lock_guard lock(mutex_);
  if (FT_STATUS s = Check(handle); s != FT_OK) return s;
  return divisor == 0 ? FT_INVALID_PARAMETER : FT_OK;
}

FT_STATUS SimulatedBackend::SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                                   std::uint8_t parity) {
  std::lock_guard lock(mutex_);
  if (FT_STATUS s = Check(handle); s != FT_OK) return s;
  const bool valid = (wordLength == 7 || wordLength == 8) && (stopBits == 0 || stopBits == 2) && parity <= 4;
  return valid ? FT_OK : FT_INVALID_PARAMETER;
}

FT_STATUS SimulatedBackend::SetTimeouts(FT_HANDLE handle, DWORD, DWORD) {
  std::lock_guard lock(mutex_);
  return Check(handle);
}

FT_STATUS SimulatedBackend::Purge(FT_HANDLE handle, DWORD mask) {
  std::lock_guard lock(mutex_);
  if (FT_STATUS s = Check(handle); s != FT_OK) return s;
  if ((mask & FT_PURGE_RX) != 0) answers_.clear();
  return FT_OK;
}

FT_STATUS SimulatedBackend::Write(FT_HANDLE handle, const void* buffer, DWORD length, DWORD* written) {
  if (written != nullptr) *written = 0;
  std::lock_guard lock(mutex_);
  if (FT_STATUS s = Check(handle); s != FT_OK) return s;
  if (buffer == nullptr && length > 0) return FT_INVALID_PARAMETER;
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  const std::vector<std::uint8_t> answer = protocol_.Receive({bytes, length});
  if (protocol_.Unplugged()) return FT_IO_ERROR;
  answers_.insert(answers_.end(), answer.begin(), answer.end());
  if (written != nullptr) *written = length;
  return FT_OK;
}

FT_STATUS SimulatedBackend::Read(FT_HANDLE handle, void* buffer, DWORD length, DWORD* read) {
  if (read != nullptr) *read = 0;
  std::size_t taken = 0;
  {
    std::lock_guard lock(mutex_);
    if (FT_STATUS s = Check(handle); s != FT_OK) return s;
    if (buffer == nullptr && length > 0) return FT_INVALID_PARAMETER;
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (taken < length && !answers_.empty()) {
      out[taken++] = answers_.front();
      answers_.pop_front();
    }
  }
  if (read != nullptr) *read = static_cast<DWORD>(taken);
  // The gauge has nothing more to say; stand for the read time-out, briefly.
  if (taken < length && options_.shortReadWait.count() > 0) std::this_thread::sleep_for(options_.shortReadWait);
  return FT_OK;
}

FT_STATUS SimulatedBackend::Close(FT_HANDLE handle) {
  std::lock_guard lock(mutex_);
  if (openToken_ == 0 || TokenOf(handle) != openToken_) return FT_INVALID_HANDLE;
  openToken_ = 0;
  ++closes_;
  answers_.clear();
  return Attached() ? FT_OK : FT_IO_ERROR;
}

void SimulatedBackend::Unplug() {
  std::lock_guard lock(mutex_);
  unplugged_ = true;
  answers_.clear();
}

void SimulatedBackend::SetFaults(const GaugeFaults& faults) {
  std::lock_guard lock(mutex_);
  protocol_.Faults() = faults;
}

std::size_t SimulatedBackend::FramesSeen() const {
  std::lock_guard lock(mutex_);
  return protocol_.FramesSeen();
}

std::size_t SimulatedBackend::OpenCount() const {
  std::lock_guard lock(mutex_);
  return opens_;
}

std::size_t SimulatedBackend::CloseCount() const {
  std::lock_guard lock(mutex_);
  return closes_;
}

bool SimulatedBackend::IsOpen() const {
  std::lock_guard lock(mutex_);
  return openToken_ != 0;
}

std::size_t SimulatedBackend::PendingAnswerBytes() const {
  std::lock_guard lock(mutex_);
  return answers_.size();
}

GaugeModel SimulatedBackend::Model() const {
  std::lock_guard lock(mutex_);
  return protocol_.Model();
}

}  // namespace rz47::sim
