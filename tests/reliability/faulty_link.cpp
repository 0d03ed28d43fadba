#include "faulty_link.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "device/link_state.h"

namespace rz47::test {

FaultyLink::FaultyLink(std::shared_ptr<sim::SimulatedBackend> gauge, LinkFaultRates rates, std::uint32_t seed)
    : gauge_(std::move(gauge)), rates_(rates), random_(seed) {}

void FaultyLink::Tick() {
  const std::size_t call = ++calls_;
  if (rates_.unplugAtCall && call == *rates_.unplugAtCall) gauge_->Unplug();
  const bool planned = rates_.cancelAtCall && call == *rates_.cancelAtCall;
  if ((planned || call == rates_.giveUpAtCall) && LinkCancel.exchange(1) == 0) cancelledAt_ = call;
}

bool FaultyLink::Roll(int permille) {
  return permille > 0 && static_cast<int>(random_() % 1000) < permille;
}

FT_STATUS FaultyLink::CreateDeviceInfoList(DWORD* numDevices) {
  Tick();
  return gauge_->CreateDeviceInfoList(numDevices);
}

FT_STATUS FaultyLink::GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, DWORD* numDevices) {
  Tick();
  return gauge_->GetDeviceInfoList(list, numDevices);
}

FT_STATUS FaultyLink::Open(int index, FT_HANDLE* handle) {
  Tick();
  return gauge_->Open(index, handle);
}

FT_STATUS FaultyLink::SetDivisor(FT_HANDLE handle, std::uint16_t divisor) {
  Tick();
  return gauge_->SetDivisor(handle, divisor);
}

FT_STATUS FaultyLink::SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                             std::uint8_t parity) {
  Tick();
  return gauge_->SetDataCharacteristics(handle, wordLength, stopBits, parity);
}

FT_STATUS FaultyLink::SetTimeouts(FT_HANDLE handle, DWORD readTimeoutMs, DWORD writeTimeoutMs) {
  Tick();
  return gauge_->SetTimeouts(handle, readTimeoutMs, writeTimeoutMs);
}

FT_STATUS FaultyLink::Purge(FT_HANDLE handle, DWORD mask) {
  Tick();
  return gauge_->Purge(handle, mask);
}

FT_STATUS FaultyLink::Write(FT_HANDLE handle, const void* buffer, DWORD length, DWORD* written) {
  Tick();
  if (Roll(rates_.failedWritePermille)) return FT_IO_ERROR;
  return gauge_->Write(handle, buffer, length, written);
}

FT_STATUS FaultyLink::Read(FT_HANDLE handle, void* buffer, DWORD length, DWORD* read) {
  Tick();
  if (Roll(rates_.failedPermille)) return FT_IO_ERROR;
  // What the gauge sent is taken off the wire in every case; a fault decides what of
  // it reaches the caller.
  std::vector<std::uint8_t> bytes(length);
  DWORD got = 0;
  const FT_STATUS status = gauge_->Read(handle, bytes.data(), length, &got);
  if (status != FT_OK) {
    if (read != nullptr) *read = 0;
    return status;
  }
  if (Roll(rates_.lostPermille)) {
    got = 0;
  } else if (got > 0 && Roll(rates_.shortPermille)) {
    got = static_cast<DWORD>(random_() % got);
  } else if (got > 0 && Roll(rates_.damagedPermille)) {
    const std::size_t at = random_() % got;
    bytes[at] ^= static_cast<std::uint8_t>(1 + random_() % 255);
    ++damaged_;
  }
  std::memcpy(buffer, bytes.data(), got);
  if (read != nullptr) *read = got;
  return FT_OK;
}

FT_STATUS FaultyLink::Close(FT_HANDLE handle) {
  Tick();
  return gauge_->Close(handle);
}

}  // namespace rz47::test
