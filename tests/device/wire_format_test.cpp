// Frames, answer headers, checked blocks, device choice and the firmware gate.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "device/crc16.h"
#include "device/wire_format.h"
#include "gauge_bytes.h"

namespace rz47 {
namespace {

struct FrameCase {
  Command command;
  std::uint16_t index;
  Frame expected;
};

class CommandFrameTest : public testing::TestWithParam<FrameCase> {};

TEST_P(CommandFrameTest, StartByteCodeComplementAndBigEndianIndex) {
  EXPECT_EQ(BuildCommandFrame(GetParam().command, GetParam().index), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    AllCommands, CommandFrameTest,
    testing::Values(FrameCase{Command::Version, 0, {0xAA, 0x01, 0xFE, 0x00, 0x00}},
                    FrameCase{Command::Params, 0, {0xAA, 0x02, 0xFD, 0x00, 0x00}},
                    FrameCase{Command::ArchiveRecord, 1599, {0xAA, 0x03, 0xFC, 0x06, 0x3F}},
                    FrameCase{Command::ArchiveRecord, 256, {0xAA, 0x03, 0xFC, 0x01, 0x00}},
                    FrameCase{Command::MaterialRead, 12, {0xAA, 0x04, 0xFB, 0x00, 0x0C}},
                    FrameCase{Command::MaterialWrite, 7, {0xAA, 0x05, 0xFA, 0x00, 0x07}},
                    FrameCase{Command::Screen, 0, {0xAA, 0x06, 0xF9, 0x00, 0x00}}));

struct HeaderCase {
  const char* name;
  Frame answer;
  bool valid;
};

class AnswerHeaderTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(AnswerHeaderTest, StartByteAndComplementDecide) {
  EXPECT_EQ(CheckAnswerHeader(GetParam().answer), GetParam().valid) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, AnswerHeaderTest,
    testing::Values(HeaderCase{"echo of the command", {0xAA, 0x03, 0xFC, 0, 5}, true},
                    HeaderCase{"another code is not compared", {0xAA, 0x42, 0xBD, 0, 0}, true},
                    HeaderCase{"code 0 with complement FF", {0xAA, 0x00, 0xFF, 1, 2}, true},
                    HeaderCase{"zeros after a time-out", {0, 0, 0, 0, 0}, false},
                    HeaderCase{"wrong start byte", {0xAB, 0x03, 0xFC, 0, 0}, false},
                    HeaderCase{"byte 2 not the complement", {0xAA, 0x03, 0xFD, 0, 0}, false},
                    HeaderCase{"byte 2 equal to byte 1", {0xAA, 0x03, 0x03, 0, 0}, false}));

TEST(AnswerIndex, ByteThreeTimes256PlusByteFour) {
  EXPECT_EQ(AnswerIndex(Frame{0xAA, 1, 0xFE, 0x06, 0x3F}), 1599);
  EXPECT_EQ(AnswerIndex(Frame{0xAA, 1, 0xFE, 0xFF, 0xFF}), 65535);
}

TEST(Crc16Use, KnownVectorsAndAppendedLowByteFirstGivesZero) {
  EXPECT_EQ(Crc16(std::string_view("123456789")), 0xBB3D);
  EXPECT_EQ(Crc16(std::string_view("abc")), 0x9738);
  const std::uint8_t sealed[] = {'a', 'b', 'c', 0x38, 0x97};
  EXPECT_EQ(Crc16(sealed, sizeof sealed), 0);
}

struct BlockCase {
  const char* name;
  int corruptAt;  // -1: none
  std::uint8_t corruptXor;
  bool remarkAndReseal;  // marker changed, CRC recomputed so only the marker is wrong
  bool valid;
};

class CheckBlockTest : public testing::TestWithParam<BlockCase> {};

TEST_P(CheckBlockTest, CrcOverWholeBlockZeroAndMarker) {
  std::array<std::uint8_t, 24> block = test::MakeArchiveRecord({});
  const BlockCase& c = GetParam();
  if (c.corruptAt >= 0) block[c.corruptAt] ^= c.corruptXor;
  if (c.remarkAndReseal) {
    block[20] = 0xAB;
    const std::uint16_t crc = Crc16(block.data(), 22);
    block[22] = static_cast<std::uint8_t>(crc & 0xFF);
    block[23] = static_cast<std::uint8_t>(crc >> 8);
  }
  EXPECT_EQ(CheckBlock(block), c.valid) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Blocks, CheckBlockTest,
                         testing::Values(BlockCase{"intact", -1, 0, false, true},
                                         BlockCase{"data bit flipped", 3, 0x10, false, false},
                                         BlockCase{"CRC low byte flipped", 22, 0x01, false, false},
                                         BlockCase{"CRC high byte flipped", 23, 0x80, false, false},
                                         BlockCase{"marker wrong but CRC right", -1, 0, true, false}));

TEST(CheckBlock, ZeroBlockHasZeroCrcButNoMarker) {
  std::vector<std::uint8_t> zeros(204, 0);
  EXPECT_FALSE(CheckBlock(zeros));
}

TEST(SealBlock, WritesTheCrcThatMakesTheBlockCheck) {
  std::array<std::uint8_t, 52> record = test::MakeMaterialRecord("a", "b", 1, 1);
  record[5] = 'z';
  EXPECT_FALSE(CheckBlock(record));
  SealBlock(record);
  EXPECT_TRUE(CheckBlock(record));
}

FT_DEVICE_LIST_INFO_NODE Node(const char* description) {
  FT_DEVICE_LIST_INFO_NODE node{};
  std::strncpy(node.Description, description, sizeof node.Description - 1);
  return node;
}

struct ChoiceCase {
  const char* name;
  std::vector<const char*> descriptions;
  int chosen;
};

class GaugeChoiceTest : public testing::TestWithParam<ChoiceCase> {};

TEST_P(GaugeChoiceTest, LastNodeWhoseFirstSixBytesMatch) {
  std::vector<FT_DEVICE_LIST_INFO_NODE> nodes;
  for (const char* d : GetParam().descriptions) nodes.push_back(Node(d));
  EXPECT_EQ(ChooseGaugeNode(nodes), GetParam().chosen) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Descriptions, GaugeChoiceTest,
    testing::Values(ChoiceCase{"exact prefix", {"RZ-4.7"}, 0},
                    ChoiceCase{"prefix with more text", {"FT232R USB UART", "RZ-4.7 USB Gauge"}, 1},
                    ChoiceCase{"two gauges: the last listed", {"RZ-4.7 A", "other", "RZ-4.7 B", "x"}, 2},
                    ChoiceCase{"differs in the sixth byte", {"RZ-4.8", "RZ-4,7"}, -1},
                    ChoiceCase{"lower case does not match", {"rz-4.7"}, -1},
                    ChoiceCase{"shorter than the prefix", {"RZ-4."}, -1},
                    ChoiceCase{"empty list", {}, -1}));

struct FirmwareCase {
  const char* text;
  std::optional<long> rating;
  bool current;
};

class FirmwareGateTest : public testing::TestWithParam<FirmwareCase> {};

TEST_P(FirmwareGateTest, RatingAndGate) {
  EXPECT_EQ(RateFirmwareDate(GetParam().text), GetParam().rating) << GetParam().text;
  EXPECT_EQ(FirmwareIsCurrent(GetParam().text), GetParam().current) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Dates, FirmwareGateTest,
    testing::Values(FirmwareCase{"10.06.2014", 735300, true},  // the reference date itself
                    FirmwareCase{"09.06.2014", 735299, false},
                    FirmwareCase{"01.01.2015", 735506, true},
                    FirmwareCase{"31.05.2014", 735291, false},  // 30-day months: same as 1 June
                    FirmwareCase{"01.06.2014", 735291, false},
                    FirmwareCase{"25.12.2030", 741335, true},
                    FirmwareCase{"1.6.2014", std::nullopt, false},  // digits not where the rule reads
                    FirmwareCase{"10-06-2014", 735300, true},      // separators are not read
                    FirmwareCase{"", std::nullopt, false},
                    FirmwareCase{"10.06.201", std::nullopt, false},
                    FirmwareCase{"1O.06.2014", std::nullopt, false}));

TEST(FirmwareDateText, FromByteSixToTheFirstZeroAtMostTenCharacters) {
  std::array<std::uint8_t, 16> payload{};
  payload.fill('9');
  const char date[] = "10.06.2014";
  std::memcpy(&payload[6], date, 10);
  EXPECT_EQ(FirmwareDateText(payload), "10.06.2014");  // no zero: cut at 10
  payload[12] = 0;
  EXPECT_EQ(FirmwareDateText(payload), "10.06.");
  payload[6] = 0;
  EXPECT_EQ(FirmwareDateText(payload), "");
}

}  // namespace
}  // namespace rz47
