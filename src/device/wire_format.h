// The gauge's wire format: command and answer frames, checked blocks, the device
// description the gauge is found by, and the firmware-date gate. Pure functions
// over bytes; no I/O, no globals; any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/link/ft_api.h"

namespace rz47 {

// Command frame, PC to gauge, always 5 bytes:
//
//   +------+------+-------+----------+----------+
//   | 0xAA | code | ~code | index hi | index lo |
//   +------+------+-------+----------+----------+
//      0      1       2        3          4
//
// The answer frame has the same shape; its code byte is not compared with the
// command sent, only with its own complement. Bytes 3..4 echo the index
// (big-endian), checked by the commands that say so.
constexpr std::size_t kFrameSize = 5;
constexpr std::uint8_t kFrameStart = 0xAA;
using Frame = std::array<std::uint8_t, kFrameSize>;

enum class Command : std::uint8_t {
  Version = 0x01,         // 16-byte payload: firmware date at byte 6
  Params = 0x02,          // 204-byte parameter block
  ArchiveRecord = 0x03,   // 24-byte record; index = running number
  MaterialRead = 0x04,    // 52-byte material record; index = material number
  MaterialWrite = 0x05,   // 52-byte record sent after the frame; no payload back
  Screen = 0x06,          // 1,024-byte display image, unchecked
};

// Payload sizes of the answers (and of the record the material write sends).
constexpr std::size_t kVersionSize = 16;
constexpr std::size_t kParamsSize = 204;
constexpr std::size_t kArchiveRecordSize = 24;
constexpr std::size_t kMaterialRecordSize = 52;
constexpr std::size_t kScreenImageSize = 1024;

Frame BuildCommandFrame(Command command, std::uint16_t index = 0);
// Byte 0 is 0xAA and byte 2 is the complement of byte 1, whatever byte 1 holds.
bool CheckAnswerHeader(std::span<const std::uint8_t, kFrameSize> answer);
// The index echoed in bytes 3..4 (byte 3 times 256 plus byte 4).
std::uint16_t AnswerIndex(std::span<const std::uint8_t, kFrameSize> answer);

// A checked block ends in a marker and the CRC of everything before it:
//
//   | data ...          | 0xAA 0xAA | crc lo | crc hi |
//                         size-4      size-2   size-1
//
// It passes when the CRC over the whole block (CRC bytes included) is 0 and the
// marker holds 0xAAAA.
constexpr std::uint8_t kMarkerByte = 0xAA;
constexpr std::size_t kBlockTrailerSize = 4;
bool CheckBlock(std::span<const std::uint8_t> block);
// Writes the CRC of all bytes before the last two into the last two, low byte first.
void SealBlock(std::span<std::uint8_t> block);

// Device discovery: the gauge's description starts with these 6 bytes; the rest may
// be anything.
constexpr std::string_view kGaugeDescriptionPrefix = "RZ-4.7";
bool DescriptionMatches(const char (&description)[64]);
// The highest index whose description matches (the search runs from the last node
// down), or -1 when none does.
int ChooseGaugeNode(std::span<const FT_DEVICE_LIST_INFO_NODE> nodes);

// Firmware date gate. The date text is payload byte 6 up to the first zero byte,
// at most 10 characters, "dd.mm.yyyy".
//
//   | unused (6 bytes) | d d . m m . y y y y | ... |
//     0..5               6 ...            15
constexpr std::size_t kFirmwareDateOffset = 6;
constexpr std::size_t kFirmwareDateMaxLength = 10;
constexpr std::string_view kReferenceFirmwareDate = "10.06.2014";

std::string FirmwareDateText(std::span<const std::uint8_t, kVersionSize> payload);
// day + 30 * month + 365 * year; nullopt when the characters the rule reads (1-2,
// 4-5, 7-10, 1-based) are not all digits.
std::optional<long> RateFirmwareDate(std::string_view dateText);
// A date that cannot be rated counts as outdated.
bool FirmwareIsCurrent(std::string_view dateText);

}  // namespace rz47
