#include "fake_gauge.h"

#include <algorithm>
#include <cstring>

#include "gauge_bytes.h"

namespace rz47::test {
namespace {

FT_HANDLE TokenOf(int index) { return reinterpret_cast<FT_HANDLE>(static_cast<std::uintptr_t>(0x1000 + index)); }

}  // namespace

FakeGauge::FakeGauge() : attempts_(7, std::vector<int>(65536, 0)) {
  for (int j = 0; j < 13; ++j) {
    // "Мат<j>" in Windows-1251, as the gauge keeps its names.
    materials[j] = MakeMaterialRecord("\xCC\xE0\xF2" + std::to_string(j), "Mat" + std::to_string(j),
                                      static_cast<std::uint16_t>(1000 + j), static_cast<std::uint8_t>(j + 1));
  }
}

std::vector<LinkCall> FakeGauge::Calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

std::vector<int> FakeGauge::CommandsSent() const {
  std::vector<int> out;
  for (const LinkCall& c : Calls()) {
    if (c.command >= 0) out.push_back(c.command);
  }
  return out;
}

int FakeGauge::OpenedIndex() const {
  std::lock_guard lock(mutex_);
  return lastOpenIndex_;
}

bool FakeGauge::DeviceOpen() const {
  std::lock_guard lock(mutex_);
  return open_;
}

std::size_t FakeGauge::CallCount() const {
  std::lock_guard lock(mutex_);
  return calls_.size();
}

int FakeGauge::CountCalls(const std::string& name) const {
  const auto calls = Calls();
  return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const LinkCall& c) { return c.name == name; }));
}

FT_STATUS FakeGauge::Begin(LinkCall call, FT_HANDLE handle) {
  call.priority = CurrentThreadPriority();
  {
    std::lock_guard lock(mutex_);
    if (call.name != "Create" && call.name != "GetList" && call.name != "Open") {
      call.validHandle = open_ && handle == TokenOf(openIndex_);
    }
    calls_.push_back(call);
  }
  if (onCall) onCall(call);
  if (!call.validHandle) return FT_INVALID_HANDLE;
  return fail ? fail(call.name) : FT_OK;
}

FT_STATUS FakeGauge::CreateDeviceInfoList(DWORD* numDevices) {
  if (FT_STATUS s = Begin({"Create"}, nullptr)) return s;
  *numDevices = reportedDeviceCount != 0 ? reportedDeviceCount : static_cast<DWORD>(descriptions.size());
  return FT_OK;
}

FT_STATUS FakeGauge::GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, DWORD* numDevices) {
  if (FT_STATUS s = Begin({"GetList"}, nullptr)) return s;
  const DWORD n = std::min<DWORD>(*numDevices, static_cast<DWORD>(descriptions.size()));
  for (DWORD i = 0; i < n; ++i) {
    list[i] = FT_DEVICE_LIST_INFO_NODE{};
    std::strncpy(list[i].Description, descriptions[i].c_str(), sizeof(list[i].Description) - 1);
  }
  *numDevices = n;
  return FT_OK;
}

FT_STATUS FakeGauge::Open(int index, FT_HANDLE* handle) {
  if (FT_STATUS s = Begin({"Open"}, nullptr)) return s;
  std::lock_guard lock(mutex_);
  if (open_ || index < 0 || index >= static_cast<int>(descriptions.size())) return FT_DEVICE_NOT_OPENED;
  open_ = true;
  openIndex_ = lastOpenIndex_ = index;
  pending_.clear();
  *handle = TokenOf(index);
  return FT_OK;
}

FT_STATUS FakeGauge::SetDivisor(FT_HANDLE handle, std::uint16_t divisor) {
  if (FT_STATUS s = Begin({"SetDivisor"}, handle)) return s;
  return divisor == 3 ? FT_OK : FT_INVALID_PARAMETER;
}

FT_STATUS FakeGauge::SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                            std::uint8_t parity) {
  if (FT_STATUS s = Begin({"SetData"}, handle)) return s;
  return wordLength == 8 && stopBits == 0 && parity == 0 ? FT_OK : FT_INVALID_PARAMETER;
}

FT_STATUS FakeGauge::SetTimeouts(FT_HANDLE handle, DWORD readTimeoutMs, DWORD writeTimeoutMs) {
  if (FT_STATUS s = Begin({"SetTimeouts"}, handle)) return s;
  return readTimeoutMs == 3000 && writeTimeoutMs == 3000 ? FT_OK : FT_INVALID_PARAMETER;
}

FT_STATUS FakeGauge::Purge(FT_HANDLE handle, DWORD mask) {
  if (FT_STATUS s = Begin({"Purge"}, handle)) return s;
  std::lock_guard lock(mutex_);
  if (mask != (FT_PURGE_RX | FT_PURGE_TX)) return FT_INVALID_PARAMETER;
  pending_.clear();
  writeAwaitingRecord_ = -1;
  return FT_OK;
}

FT_STATUS FakeGauge::Write(FT_HANDLE handle, const void* buffer, DWORD length, DWORD* written) {
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  LinkCall call{"Write"};
  int awaiting = -1;
  {
    std::lock_guard lock(mutex_);
    awaiting = writeAwaitingRecord_;
  }
  const bool isFrame = awaiting < 0 && length == 5 && bytes[0] == 0xAA;
  if (isFrame) {
    call.command = bytes[1];
    call.index = bytes[3] * 256 + bytes[4];
  }
  if (FT_STATUS s = Begin(call, handle)) return s;
  *written = length;
  if (awaiting >= 0) {
    {
      std::lock_guard lock(mutex_);
      writeAwaitingRecord_ = -1;
      if (length == 52 && awaiting < 13) {
        std::memcpy(this->written[awaiting].data(), bytes, 52);
        writtenFlags[awaiting] = true;
      }
    }
    Answer(0x05, awaiting);
    return FT_OK;
  }
  if (!isFrame || bytes[2] != static_cast<std::uint8_t>(~bytes[1]) || call.command < 1 || call.command > 6) {
    return FT_OK;  // a gauge ignores what it cannot read
  }
  if (call.command == 0x05) {
    std::lock_guard lock(mutex_);
    writeAwaitingRecord_ = call.index;
    return FT_OK;
  }
  Answer(call.command, call.index);
  return FT_OK;
}

void FakeGauge::Answer(int command, int index) {
  int attempt = 0;
  {
    std::lock_guard lock(mutex_);
    attempt = ++attempts_[command][index];
  }
  const Reply how = reply ? reply(command, index, attempt) : Reply::Normal;
  if (how == Reply::Silent) return;
  std::vector<std::uint8_t> out = {0xAA, static_cast<std::uint8_t>(command), static_cast<std::uint8_t>(~command)};
  const int echo = how == Reply::WrongEcho ? index + 1 : index;
  out.push_back(static_cast<std::uint8_t>(echo >> 8));
  out.push_back(static_cast<std::uint8_t>(echo & 0xFF));
  if (how == Reply::BadHeader) out[2] ^= 0x01;
  // A garbled header comes alone: nothing after it to upset the next attempt.
  std::vector<std::uint8_t> payload = how == Reply::BadHeader ? std::vector<std::uint8_t>{} : Payload(command, index);
  if (how == Reply::BadCrc && !payload.empty()) payload.back() ^= 0xFF;
  if (how == Reply::Short && !payload.empty()) payload.pop_back();
  out.insert(out.end(), payload.begin(), payload.end());
  std::lock_guard lock(mutex_);
  pending_.insert(pending_.end(), out.begin(), out.end());
}

std::vector<std::uint8_t> FakeGauge::Payload(int command, int index) const {
  switch (command) {
    case 0x01: {
      std::vector<std::uint8_t> v(16, 0);
      for (int i = 0; i < 6; ++i) v[i] = static_cast<std::uint8_t>(0xE0 + i);
      for (std::size_t i = 0; i < firmwareDate.size() && 6 + i < 16; ++i) v[6 + i] = firmwareDate[i];
      return v;
    }
    case 0x02: {
      auto p = MakeParamBlock(static_cast<int>(archive.size()));
      return {p.begin(), p.end()};
    }
    case 0x03:
      if (index < static_cast<int>(archive.size())) return {archive[index].begin(), archive[index].end()};
      return std::vector<std::uint8_t>(24, 0);
    case 0x04:
      if (index < 13) return {materials[index].begin(), materials[index].end()};
      return std::vector<std::uint8_t>(52, 0);
    case 0x06: return {screen.begin(), screen.end()};
    default: return {};
  }
}

FT_STATUS FakeGauge::Read(FT_HANDLE handle, void* buffer, DWORD length, DWORD* read) {
  if (FT_STATUS s = Begin({"Read"}, handle)) return s;
  std::lock_guard lock(mutex_);
  const DWORD n = std::min<DWORD>(length, static_cast<DWORD>(pending_.size()));
  std::copy_n(pending_.begin(), n, static_cast<std::uint8_t*>(buffer));
  pending_.erase(pending_.begin(), pending_.begin() + n);
  *read = n;
  return FT_OK;
}

FT_STATUS FakeGauge::Close(FT_HANDLE handle) {
  if (FT_STATUS s = Begin({"Close"}, handle)) return s;
  std::lock_guard lock(mutex_);
  open_ = false;
  openIndex_ = -1;
  return FT_OK;
}

}  // namespace rz47::test
