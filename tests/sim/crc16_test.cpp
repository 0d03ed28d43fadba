#include "device/crc16.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rz47 {
namespace {

struct CrcCase {
  std::string_view name;
  std::vector<std::uint8_t> bytes;
  std::uint16_t crc;
};

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

class Crc16Vectors : public ::testing::TestWithParam<CrcCase> {};

TEST_P(Crc16Vectors, MatchesKnownValue) {
  const CrcCase& c = GetParam();
  EXPECT_EQ(Crc16(c.bytes.data(), c.bytes.size()), c.crc);
  EXPECT_EQ(Crc16(std::span<const std::uint8_t>(c.bytes)), c.crc);
}

INSTANTIATE_TEST_SUITE_P(
    Arc, Crc16Vectors,
    ::testing::Values(CrcCase{"empty", {}, 0x0000},
                      CrcCase{"check_digits", Bytes("123456789"), 0xBB3D},
                      CrcCase{"abc", Bytes("abc"), 0x9738},
                      // A block with its CRC appended low byte first checks to 0.
                      CrcCase{"abc_with_crc", {'a', 'b', 'c', 0x38, 0x97}, 0x0000},
                      CrcCase{"single_0x01", {0x01}, 0xC0C1},
                      CrcCase{"single_0xFF", {0xFF}, 0x4040}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(Crc16, CrcAppendedHighByteFirstDoesNotCheck) {
  const std::vector<std::uint8_t> swapped = {'a', 'b', 'c', 0x97, 0x38};
  EXPECT_NE(Crc16(swapped), 0);
}

TEST(Crc16, StringViewOverloadAgreesWithBytes) {
  const std::string text = "\xAA\x03\xFC\x00\x07 record";
  EXPECT_EQ(Crc16(text), Crc16(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(Crc16, AppendedCrcChecksToZeroForEveryLength) {
  std::vector<std::uint8_t> block;
  for (int n = 0; n < 300; ++n) {
    block.push_back(static_cast<std::uint8_t>(n * 37 + 11));
    std::vector<std::uint8_t> checked = block;
    const std::uint16_t crc = Crc16(checked);
    checked.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    checked.push_back(static_cast<std::uint8_t>(crc >> 8));
    ASSERT_EQ(Crc16(checked), 0) << "length " << n + 1;
  }
}

}  // namespace
}  // namespace rz47
