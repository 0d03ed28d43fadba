#include "sim/gauge_protocol.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>

#include "device/crc16.h"

namespace rz47::sim {
namespace {

constexpr std::string_view kModelText = "RZ-4.7";
constexpr std::size_t kDateOffset = 6;
constexpr std::size_t kDateLength = 10;
constexpr std::size_t kSlotBytes = kArchiveSlots / 8;
constexpr std::uint16_t kWrongEchoOffset = 0x0101;  // changes both index bytes

void PutLe16(std::uint8_t* at, std::uint16_t value) {
  at[0] = static_cast<std::uint8_t>(value & 0xFF);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutLe32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Ends a checked block: marker, then the CRC of everything before it, low byte first.
template <std::size_t N>
void Seal(std::array<std::uint8_t, N>& block) {
  block[N - 4] = kMarkerByte;
  block[N - 3] = kMarkerByte;
  PutLe16(&block[N - 2], Crc16(block.data(), N - 2));
}

template <std::size_t N>
void SpoilCrc(std::array<std::uint8_t, N>& block) {
  block[N - 2] ^= 0x5A;
}

void AppendHeader(std::vector<std::uint8_t>& out, std::uint8_t code, std::uint16_t index) {
  const CommandFrame header = MakeFrame(code, index);
  out.insert(out.end(), header.begin(), header.end());
}

template <std::size_t N>
void AppendBlock(std::vector<std::uint8_t>& out, const std::array<std::uint8_t, N>& block) {
  out.insert(out.end(), block.begin(), block.end());
}

bool TakeOnce(std::optional<std::size_t>& fault, std::size_t index) {
  if (!fault || *fault != index) return false;
  fault.reset();
  return true;
}

}  // namespace

CommandFrame MakeFrame(std::uint8_t code, std::uint16_t index) {
  return {kFrameStart, code, static_cast<std::uint8_t>(~code), static_cast<std::uint8_t>(index >> 8),
          static_cast<std::uint8_t>(index & 0xFF)};
}

std::array<std::uint8_t, kVersionSize> EncodeVersion(const std::string& firmwareDate) {
  std::array<std::uint8_t, kVersionSize> payload{};
  std::memcpy(payload.data(), kModelText.data(), kModelText.size());
  std::memcpy(payload.data() + kDateOffset, firmwareDate.data(), std::min(firmwareDate.size(), kDateLength));
  return payload;
}

std::array<std::uint8_t, kParamsSize> EncodeParams(const GaugeModel& model) {
  std::array<std::uint8_t, kParamsSize> block{};
  for (std::size_t slot = 0; slot < kArchiveSlots; ++slot) {
    if (model.occupied.test(slot)) block[slot / 8] |= static_cast<std::uint8_t>(1U << (slot % 8));
  }
  static_assert(kSlotBytes + 4 == kParamsSize);
  Seal(block);
  return block;
}

std::array<std::uint8_t, kArchiveRecordSize> EncodeArchiveRecord(const ArchiveRecord& record) {
  std::array<std::uint8_t, kArchiveRecordSize> block{};
  block[0] = record.second;
  block[1] = record.minute;
  block[2] = record.hour;
  block[3] = record.day;
  block[4] = record.month;
  block[5] = record.year;
  block[6] = record.number;
  block[7] = record.series;
  block[8] = record.material;
  PutLe32(&block[12], std::bit_cast<std::uint32_t>(record.thickness));
  PutLe32(&block[16], record.speed);
  Seal(block);
  return block;
}

std::array<std::uint8_t, kMaterialRecordSize> EncodeMaterialRecord(const GaugeMaterial& material) {
  std::array<std::uint8_t, kMaterialRecordSize> block{};
  std::copy(material.russian.begin(), material.russian.end(), block.begin());
  std::copy(material.english.begin(), material.english.end(), block.begin() + kNameFieldSize);
  PutLe16(&block[42], material.speed);
  block[44] = material.number;
  Seal(block);
  return block;
}

bool ApplyMaterialRecord(GaugeMaterial& material, std::span<const std::uint8_t, kMaterialRecordSize> record) {
  if (Crc16(record.data(), record.size()) != 0) return false;
  std::copy_n(record.begin(), kNameFieldSize, material.russian.begin());
  std::copy_n(record.begin() + kNameFieldSize, kNameFieldSize, material.english.begin());
  material.speed = static_cast<std::uint16_t>(record[42] | (record[43] << 8));
  return true;
}

GaugeProtocol::GaugeProtocol(GaugeModel model, GaugeFaults faults)
    : model_(std::move(model)), faults_(std::move(faults)) {}

std::vector<std::uint8_t> GaugeProtocol::Receive(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> out;
  if (unplugged_) return out;
  input_.insert(input_.end(), bytes.begin(), bytes.end());
  std::size_t pos = 0;
  while (true) {
    // Hunt for a frame start.
    while (pos < input_.size() && input_[pos] != kFrameStart) ++pos;
    if (input_.size() - pos < kFrameSize) break;
    const std::uint8_t* frame = &input_[pos];
    if (frame[2] != static_cast<std::uint8_t>(~frame[1])) {
      ++pos;  // noise: look for the next start byte
      continue;
    }
    const bool carriesRecord = frame[1] == static_cast<std::uint8_t>(GaugeCommand::MaterialWrite);
    const std::size_t needed = kFrameSize + (carriesRecord ? kMaterialRecordSize : 0);
    if (input_.size() - pos < needed) break;
    ++framesSeen_;
    if (faults_.unplugAfterFrames && framesSeen_ > *faults_.unplugAfterFrames) {
      unplugged_ = true;
      input_.clear();
      return out;
    }
    if (framesSeen_ > faults_.ignoreFirstFrames && !faults_.silent) Answer(frame, out);
    pos += needed;
  }
  input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(pos));
  return out;
}

void GaugeProtocol::Answer(const std::uint8_t* frame, std::vector<std::uint8_t>& out) {
  const std::uint8_t code = frame[1];
  const auto index = static_cast<std::uint16_t>(frame[3] << 8 | frame[4]);
  switch (static_cast<GaugeCommand>(code)) {
    case GaugeCommand::Version:
      AppendHeader(out, code, index);
      AppendBlock(out, EncodeVersion(faults_.oldFirmware ? std::string(kOldFirmwareDate) : model_.firmwareDate));
      return;
    case GaugeCommand::Params: {
      auto block = EncodeParams(model_);
      if (faults_.badParamsOnce) {
        faults_.badParamsOnce = false;
        SpoilCrc(block);
      }
      AppendHeader(out, code, index);
      AppendBlock(out, block);
      return;
    }
    case GaugeCommand::ArchiveRecord: {
      if (index >= model_.archive.size()) return;
      auto block = EncodeArchiveRecord(model_.archive[index]);
      if (TakeOnce(faults_.badCrcArchiveRecord, index)) SpoilCrc(block);
      AppendHeader(out, code, index);
      AppendBlock(out, block);
      return;
    }
    case GaugeCommand::MaterialRead: {
      if (index >= kMaterialCount) return;
      const std::uint16_t echo =
          TakeOnce(faults_.wrongEchoMaterialRead, index) ? static_cast<std::uint16_t>(index + kWrongEchoOffset) : index;
      AppendHeader(out, code, echo);
      AppendBlock(out, EncodeMaterialRecord(model_.materials[index]));
      return;
    }
    case GaugeCommand::MaterialWrite: {
      if (index >= kMaterialCount) return;
      if (TakeOnce(faults_.wrongEchoMaterialWrite, index)) {
        AppendHeader(out, code, static_cast<std::uint16_t>(index + kWrongEchoOffset));
        return;
      }
      std::span<const std::uint8_t, kMaterialRecordSize> record(frame + kFrameSize, kMaterialRecordSize);
      if (!ApplyMaterialRecord(model_.materials[index], record)) return;
      AppendHeader(out, code, index);
      return;
    }
    case GaugeCommand::Screen: {
      const std::size_t sent = std::min(faults_.shortScreenBytes.value_or(kScreenBytes), kScreenBytes);
      AppendHeader(out, code, index);
      out.insert(out.end(), model_.screen.begin(), model_.screen.begin() + static_cast<std::ptrdiff_t>(sent));
      return;
    }
  }
  // Any other code: the gauge does not know it and stays quiet.
}

}  // namespace rz47::sim
