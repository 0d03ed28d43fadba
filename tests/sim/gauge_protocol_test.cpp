// The gauge's answers, checked byte by byte against layouts written out by hand.
#include <gtest/gtest.h>

#include <string>

#include "sim/gauge_protocol.h"
#include "sim_test_util.h"

namespace rz47::sim {
namespace {

using testing::Bytes;
using testing::CrcChecks;
using testing::CrcLowByteFirst;
using testing::FixtureModel;
using testing::Frame;
using testing::Slice;

constexpr std::string_view kFixture =
    "firmware\t21.04.2015\n"
    "material\t0\t\xD0\x91\xD0\xB5\xD1\x82\xD0\xBE\xD0\xBD\tConcrete\t4000\n"  // "Бетон" in UTF-8
    "record\t10.06.2014\t09:05:07\t3\t12\t2\t0.5\t4294967295\n"
    "record\t31.12.2099\t23:59:58\t255\t1\t20\t-1.25\t1600\n"
    "screen\tclear\n"
    "screen-bytes\t0\t01\n"
    "screen-bytes\t1023\t80\n";

class GaugeAnswers : public ::testing::Test {
 protected:
  Bytes Send(const Bytes& bytes) { return gauge.Receive(bytes); }
  GaugeProtocol gauge{FixtureModel(kFixture), {}};
};

TEST_F(GaugeAnswers, VersionCarriesModelAndFirmwareDate) {
  const Bytes expected = {0xAA, 0x01, 0xFE, 0x00, 0x00,  // header
                          'R',  'Z',  '-',  '4',  '.',  '7', '2', '1', '.', '0', '4', '.', '2', '0', '1', '5'};
  EXPECT_EQ(Send(Frame(0x01, 0, 0)), expected);
}

TEST_F(GaugeAnswers, ParamsCountRecordsBySlotBits) {
  const Bytes answer = Send(Frame(0x02, 0, 0));
  ASSERT_EQ(answer.size(), 5u + 204u);
  EXPECT_EQ(Slice(answer, 0, 5), (Bytes{0xAA, 0x02, 0xFD, 0x00, 0x00}));
  const Bytes block = Slice(answer, 5, 204);
  Bytes expectedBits(200, 0);
  expectedBits[0] = 0x03;  // two records: slots 0 and 1
  EXPECT_EQ(Slice(block, 0, 200), expectedBits);
  EXPECT_EQ(Slice(block, 200, 2), (Bytes{0xAA, 0xAA}));
  EXPECT_TRUE(CrcChecks(block));
  EXPECT_TRUE(CrcLowByteFirst(block));
}

TEST_F(GaugeAnswers, ArchiveRecordLayout) {
  const Bytes answer = Send(Frame(0x03, 0, 0));
  ASSERT_EQ(answer.size(), 5u + 24u);
  EXPECT_EQ(Slice(answer, 0, 5), (Bytes{0xAA, 0x03, 0xFC, 0x00, 0x00}));
  const Bytes block = Slice(answer, 5, 24);
  const Bytes expected = {7,    5,    9,    10,   6,    14,    // s, min, h, day, month, year - 2000
                          12,   3,    2,                       // number, series, material
                          0,    0,    0,                       // unused
                          0x00, 0x00, 0x00, 0x3F,              // 0.5f little-endian
                          0xFF, 0xFF, 0xFF, 0xFF,              // 4294967295
                          0xAA, 0xAA};
  EXPECT_EQ(Slice(block, 0, 22), expected);
  EXPECT_TRUE(CrcChecks(block));
  EXPECT_TRUE(CrcLowByteFirst(block));
}

TEST_F(GaugeAnswers, SecondArchiveRecordLayout) {
  const Bytes block = Slice(Send(Frame(0x03, 0, 1)), 5, 24);
  const Bytes expected = {58, 59, 23, 31, 12, 99, 1, 255, 20, 0, 0, 0,
                          0x00, 0x00, 0xA0, 0xBF,  // -1.25f
                          0x40, 0x06, 0x00, 0x00,  // 1600
                          0xAA, 0xAA};
  EXPECT_EQ(Slice(block, 0, 22), expected);
  EXPECT_TRUE(CrcChecks(block));
}

TEST_F(GaugeAnswers, MaterialRecordLayout) {
  const Bytes answer = Send(Frame(0x04, 0, 0));
  ASSERT_EQ(answer.size(), 5u + 52u);
  EXPECT_EQ(Slice(answer, 0, 5), (Bytes{0xAA, 0x04, 0xFB, 0x00, 0x00}));
  const Bytes block = Slice(answer, 5, 52);
  Bytes expected = {5, 0xC1, 0xE5, 0xF2, 0xEE, 0xED, 0};  // "Бетон" in Windows-1251, then a zero
  expected.resize(21, 0xFF);                                // erased memory after the name
  const Bytes english = {8, 'C', 'o', 'n', 'c', 'r', 'e', 't', 'e', 0};
  expected.insert(expected.end(), english.begin(), english.end());
  expected.resize(42, 0xFF);
  const Bytes tail = {0xA0, 0x0F,  // 4000
                      1,           // the number the gauge shows
                      0, 0, 0, 0xAA, 0xAA};
  expected.insert(expected.end(), tail.begin(), tail.end());
  EXPECT_EQ(Slice(block, 0, 50), expected);
  EXPECT_TRUE(CrcChecks(block));
  EXPECT_TRUE(CrcLowByteFirst(block));
}

TEST_F(GaugeAnswers, ScreenIsTheRawImage) {
  const Bytes answer = Send(Frame(0x06, 0, 0));
  ASSERT_EQ(answer.size(), 5u + 1024u);
  EXPECT_EQ(Slice(answer, 0, 5), (Bytes{0xAA, 0x06, 0xF9, 0x00, 0x00}));
  Bytes expected(1024, 0);
  expected[0] = 0x01;
  expected[1023] = 0x80;
  EXPECT_EQ(Slice(answer, 5, 1024), expected);
}

Bytes WriteFrame(std::uint8_t index, const std::string& russian, const std::string& english, std::uint16_t speed,
                 bool goodCrc = true) {
  Bytes record(52, 0);
  record[0] = static_cast<std::uint8_t>(russian.size());
  std::copy(russian.begin(), russian.end(), record.begin() + 1);
  record[21] = static_cast<std::uint8_t>(english.size());
  std::copy(english.begin(), english.end(), record.begin() + 22);
  record[42] = static_cast<std::uint8_t>(speed & 0xFF);
  record[43] = static_cast<std::uint8_t>(speed >> 8);
  record[44] = 99;  // the gauge keeps its own number
  const std::uint16_t crc = static_cast<std::uint16_t>(Crc16(record.data(), 50) ^ (goodCrc ? 0 : 1));
  record[50] = static_cast<std::uint8_t>(crc & 0xFF);
  record[51] = static_cast<std::uint8_t>(crc >> 8);
  Bytes bytes = Frame(0x05, 0, index);
  bytes.insert(bytes.end(), record.begin(), record.end());
  return bytes;
}

TEST_F(GaugeAnswers, MaterialWriteIsStoredAndReadBack) {
  // A record sent with zeros in the marker, as a write before any read sends it.
  EXPECT_EQ(Send(WriteFrame(3, "\xCA\xE8\xF0\xEF", "Brick", 65535)), (Bytes{0xAA, 0x05, 0xFA, 0x00, 0x03}));
  const Bytes block = Slice(Send(Frame(0x04, 0, 3)), 5, 52);
  EXPECT_EQ(Slice(block, 0, 6), (Bytes{4, 0xCA, 0xE8, 0xF0, 0xEF, 0}));
  EXPECT_EQ(Slice(block, 21, 6), (Bytes{5, 'B', 'r', 'i', 'c', 'k'}));
  EXPECT_EQ(Slice(block, 42, 3), (Bytes{0xFF, 0xFF, 4}));  // speed; number still 4, not 99
  EXPECT_EQ(Slice(block, 48, 2), (Bytes{0xAA, 0xAA}));
  EXPECT_TRUE(CrcChecks(block));
  EXPECT_EQ(NameOf(gauge.Model().materials[3].english), "Brick");
  EXPECT_EQ(gauge.Model().materials[3].speed, 65535);
}

TEST_F(GaugeAnswers, MaterialWriteWithBadCrcIsIgnored) {
  const GaugeMaterial before = gauge.Model().materials[5];
  EXPECT_TRUE(Send(WriteFrame(5, "x", "y", 1, /*goodCrc=*/false)).empty());
  EXPECT_EQ(gauge.Model().materials[5].english, before.english);
  EXPECT_EQ(gauge.Model().materials[5].speed, before.speed);
}

TEST(GaugeArchiveIndex, IndexIsSentHighByteFirst) {
  // 300 records; record i carries series i % 256 and number i / 256.
  std::string fixture;
  for (int i = 0; i < 300; ++i) {
    fixture += "record\t01.01.2015\t10:00:00\t" + std::to_string(i % 256) + "\t" + std::to_string(i / 256) +
               "\t0\t1.0\t4000\n";
  }
  GaugeProtocol gauge(testing::FixtureModel(fixture), {});
  const Bytes answer = gauge.Receive(Frame(0x03, 0x01, 0x02));  // record 258
  ASSERT_EQ(answer.size(), 29u);
  EXPECT_EQ(Slice(answer, 0, 5), (Bytes{0xAA, 0x03, 0xFC, 0x01, 0x02}));
  EXPECT_EQ(answer[5 + 6], 1);  // number
  EXPECT_EQ(answer[5 + 7], 2);  // series
  EXPECT_TRUE(gauge.Receive(Frame(0x03, 0x01, 0x2C)).empty());  // 300: beyond the archive
}

struct StreamCase {
  std::string name;
  std::vector<Bytes> chunks;   // fed one after another
  std::vector<std::size_t> answerSizes;  // bytes answered after each chunk
  std::size_t framesSeen;
};

class GaugeFraming : public ::testing::TestWithParam<StreamCase> {};

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST_P(GaugeFraming, AnswersWholeFramesOnly) {
  GaugeProtocol gauge(FixtureModel(kFixture), {});
  const StreamCase& c = GetParam();
  ASSERT_EQ(c.chunks.size(), c.answerSizes.size());
  for (std::size_t i = 0; i < c.chunks.size(); ++i) {
    EXPECT_EQ(gauge.Receive(c.chunks[i]).size(), c.answerSizes[i]) << "after chunk " << i;
  }
  EXPECT_EQ(gauge.FramesSeen(), c.framesSeen);
}

const Bytes kVersion = Frame(0x01, 0, 0);
const Bytes kWrite0 = WriteFrame(0, "a", "b", 1);

INSTANTIATE_TEST_SUITE_P(
    Stream, GaugeFraming,
    ::testing::Values(
        StreamCase{"noise_before_frame", {Join({{0x00, 0x13, 0x55}, kVersion})}, {21}, 1},
        StreamCase{"bad_complement_is_skipped", {Join({{0xAA, 0x01, 0xFF, 0x00, 0x00}, kVersion})}, {21}, 1},
        StreamCase{"start_byte_inside_noise", {Join({{0xAA, 0xAA}, kVersion})}, {21}, 1},
        StreamCase{"unknown_code_gets_no_answer", {Frame(0x07, 0, 0), Frame(0x00, 0, 0)}, {0, 0}, 2},
        StreamCase{"record_beyond_archive", {Frame(0x03, 0, 2)}, {0}, 1},
        StreamCase{"material_beyond_table", {Frame(0x04, 0, 13), Join({Frame(0x05, 0, 13), Bytes(52, 0)})}, {0, 0}, 2},
        StreamCase{"frame_in_two_pieces", {Slice(kVersion, 0, 2), Slice(kVersion, 2, 3)}, {0, 21}, 1},
        StreamCase{"two_frames_at_once", {Join({kVersion, Frame(0x04, 0, 12)})}, {21 + 57}, 2},
        StreamCase{"write_waits_for_its_record", {Slice(kWrite0, 0, 30), Slice(kWrite0, 30, 27)}, {0, 5}, 1},
        // A written record that happens to hold a frame's bytes is still record data.
        StreamCase{"record_bytes_are_not_frames", {Join({Frame(0x05, 0, 1), kVersion, Bytes(47, 0)})}, {0}, 1}),
    [](const auto& testInfo) { return testInfo.param.name; });

}  // namespace
}  // namespace rz47::sim
