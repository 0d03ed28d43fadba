#include "device/crc16.h"

#include <array>

namespace rz47 {
namespace {

constexpr std::uint16_t kReflectedPolynomial = 0xA001;

constexpr std::array<std::uint16_t, 256> MakeTable() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    std::uint16_t crc = static_cast<std::uint16_t>(i);
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1U) ? static_cast<std::uint16_t>((crc >> 1) ^ kReflectedPolynomial)
                       : static_cast<std::uint16_t>(crc >> 1);
    }
    table[i] = crc;
  }
  return table;
}

constexpr std::array<std::uint16_t, 256> kTable = MakeTable();

}  // namespace

std::uint16_t Crc16(const std::uint8_t* data, std::size_t n) {
  std::uint16_t crc = 0;
  for (std::size_t i = 0; i < n; ++i) {
    crc = static_cast<std::uint16_t>((crc >> 8) ^ kTable[(crc ^ data[i]) & 0xFFU]);
  }
  return crc;
}

std::uint16_t Crc16(std::span<const std::uint8_t> data) { return Crc16(data.data(), data.size()); }

std::uint16_t Crc16(std::string_view data) {
  return Crc16(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
}

}  // namespace rz47
