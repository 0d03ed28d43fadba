#include "device/wire_format.h"

#include <algorithm>
#include <cstring>

#include "device/crc16.h"

namespace rz47 {

Frame BuildCommandFrame(Command command, std::uint16_t index) {
  const auto code = static_cast<std::uint8_t>(command);
  return {kFrameStart, code, static_cast<std::uint8_t>(~code), static_cast<std::uint8_t>(index >> 8),
          static_cast<std::uint8_t>(index & 0xFF)};
}

bool CheckAnswerHeader(std::span<const std::uint8_t, kFrameSize> answer) {
  return answer[0] == kFrameStart && answer[2] == static_cast<std::uint8_t>(~answer[1]);
}

std::uint16_t AnswerIndex(std::span<const std::uint8_t, kFrameSize> answer) {
  return static_cast<std::uint16_t>(answer[3] * 256 + answer[4]);
}

bool CheckBlock(std::span<const std::uint8_t> block) {
  if (block.size() < kBlockTrailerSize) return false;
  const std::size_t marker = block.size() - kBlockTrailerSize;
  return block[marker] == kMarkerByte && block[marker + 1] == kMarkerByte && Crc16(block) == 0;
}

void SealBlock(std::span<std::uint8_t> block) {
  if (block.size() < 2) return;
  const std::uint16_t crc = Crc16(block.first(block.size() - 2));
  block[block.size() - 2] = static_cast<std::uint8_t>(crc & 0xFF);
  block[block.size() - 1] = static_cast<std::uint8_t>(crc >> 8);
}

bool DescriptionMatches(const char (&description)[64]) {
  return std::memcmp(description, kGaugeDescriptionPrefix.data(), kGaugeDescriptionPrefix.size()) == 0;
}

int ChooseGaugeNode(std::span<const FT_DEVICE_LIST_INFO_NODE> nodes) {
  for (int i = static_cast<int>(nodes.size()) - 1; i >= 0; --i) {
    if (DescriptionMatches(nodes[i].Description)) return i;
  }
  return -1;
}

std::string FirmwareDateText(std::span<const std::uint8_t, kVersionSize> payload) {
  auto begin = payload.begin() + kFirmwareDateOffset;
  auto end = std::find(begin, payload.end(), 0);
  std::string text(begin, end);
  if (text.size() > kFirmwareDateMaxLength) text.resize(kFirmwareDateMaxLength);
  return text;
}

std::optional<long> RateFirmwareDate(std::string_view dateText) {
  // Reads the integer of the characters [first, first + count) (0-based).
  auto number = [&](std::size_t first, std::size_t count) -> std::optional<long> {
    if (dateText.size() < first + count) return std::nullopt;
    long value = 0;
    for (std::size_t i = first; i < first + count; ++i) {
      const char c = dateText[i];
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + (c - '0');
    }
    return value;
  };
  const auto day = number(0, 2);
  const auto month = number(3, 2);
  const auto year = number(6, 4);
  if (!day || !month || !year) return std::nullopt;
  return *day + 30 * *month + 365 * *year;
}

bool FirmwareIsCurrent(std::string_view dateText) {
  static const long reference = *RateFirmwareDate(kReferenceFirmwareDate);
  const auto rating = RateFirmwareDate(dateText);
  return rating && *rating >= reference;
}

}  // namespace rz47
