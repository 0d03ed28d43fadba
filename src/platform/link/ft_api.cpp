#include "platform/link/ft_api.h"

#include <mutex>
#include <utility>

namespace rz47 {
namespace {

std::mutex backendMutex;
std::shared_ptr<LinkBackend> backend;

std::shared_ptr<LinkBackend> Backend() {
  std::lock_guard lock(backendMutex);
  return backend;
}

}  // namespace

std::shared_ptr<LinkBackend> SetLinkBackend(std::shared_ptr<LinkBackend> next) {
  std::lock_guard lock(backendMutex);
  return std::exchange(backend, std::move(next));
}

std::shared_ptr<LinkBackend> CurrentLinkBackend() { return Backend(); }

FT_STATUS FT_CreateDeviceInfoList(DWORD* numDevices) {
  auto b = Backend();
  return b ? b->CreateDeviceInfoList(numDevices) : FT_DEVICE_NOT_FOUND;
}
FT_STATUS FT_GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, DWORD* numDevices) {
  auto b = Backend();
  return b ? b->GetDeviceInfoList(list, numDevices) : FT_DEVICE_NOT_FOUND;
}
FT_STATUS FT_Open(int index, FT_HANDLE* handle) {
  auto b = Backend();
  return b ? b->Open(index, handle) : FT_DEVICE_NOT_FOUND;
}
FT_STATUS FT_SetDivisor(FT_HANDLE handle, std::uint16_t divisor) {
  auto b = Backend();
  return b ? b->SetDivisor(handle, divisor) : FT_DEVICE_NOT_FOUND;
}
FT_STATUS FT_SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                    std::uint8_t parity) {
  auto b = Backend();
  return b ? b->SetDataCharacteristics(handle, wordLength, stopBits, parity) : FT_DEVICE_NOT_FOUND;
}
FT_STATUS FT_SetTimeouts(FT_HANDLE handle, DWORD readTimeoutMs, DWORD writeTimeoutMs) {
  auto b = Backend();
  return b ? b->SetTimeouts(handle, readTimeoutMs, writeTimeoutMs) : FT_DEVICE_NOT_FOUND;
}
FT_STATUS FT_Purge(FT_HANDLE handle, DWORD mask) {
  auto b = Backend();
  return b ? b->Purge(handle, mask) : FT_DEVICE_NOT_FOUND;
}
FT_STATUS FT_Write(FT_HANDLE handle, const void* buffer, DWORD length, DWORD* written) {
  auto b = Backend();
  return b ? b->Write(handle, buffer, length, written) : FT_DEVICE_NOT_FOUND;
}
FT_STATUS FT_Read(FT_HANDLE handle, void* buffer, DWORD length, DWORD* read) {
  auto b = Backend();
  return b ? b->Read(handle, buffer, length, read) : FT_DEVICE_NOT_FOUND;
}
FT_STATUS FT_Close(FT_HANDLE handle) {
  auto b = Backend();
  return b ? b->Close(handle) : FT_DEVICE_NOT_FOUND;
}

}  // namespace rz47
