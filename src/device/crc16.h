// CRC-16 of the gauge's checked blocks: the CRC-16/ARC parameters (reflected
// polynomial 0xA001, initial value 0, no final XOR), table-driven.
//
// The sender appends the CRC low byte first, so the CRC over a whole valid block,
// its own two CRC bytes included, is 0. Pure functions; any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace rz47 {

std::uint16_t Crc16(const std::uint8_t* data, std::size_t n);
std::uint16_t Crc16(std::span<const std::uint8_t> data);
std::uint16_t Crc16(std::string_view data);

}  // namespace rz47
