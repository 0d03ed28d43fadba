// Small helpers for the simulated gauge's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "device/crc16.h"
#include "sim/gauge_fixture.h"
#include "sim/gauge_protocol.h"

namespace rz47::sim::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Frame(std::uint8_t code, std::uint8_t indexHigh, std::uint8_t indexLow) {
  return {0xAA, code, static_cast<std::uint8_t>(~code), indexHigh, indexLow};
}

inline GaugeModel FixtureModel(std::string_view text) {
  std::string error;
  auto model = ParseGaugeFixture(text, &error);
  EXPECT_TRUE(model.has_value()) << error;
  return model ? *model : GaugeModel{};
}

inline Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t count) {
  if (from > bytes.size()) return {};
  return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
               bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), from + count)));
}

// A checked block: its CRC covers all bytes before the last two and is sent low byte first.
inline bool CrcChecks(const Bytes& block) { return block.size() >= 2 && Crc16(block.data(), block.size()) == 0; }

inline bool CrcLowByteFirst(const Bytes& block) {
  const std::size_t n = block.size();
  const std::uint16_t crc = Crc16(block.data(), n - 2);
  return block[n - 2] == (crc & 0xFF) && block[n - 1] == (crc >> 8);
}

}  // namespace rz47::sim::testing
