// Counted name fields, the write's record layout, speeds and the default names.
#include <gtest/gtest.h>

#include <string>

#include "device/materials.h"
#include "device/wire_format.h"
#include "gauge_bytes.h"
#include "platform/cp1251.h"

namespace rz47 {
namespace {

using Field = std::array<std::uint8_t, kNameFieldSize>;

Field FieldOf(int length, const std::string& bytes) {
  Field f;
  f.fill('#');
  f[0] = static_cast<std::uint8_t>(length);
  for (std::size_t i = 0; i < bytes.size() && i < 20; ++i) f[1 + i] = static_cast<std::uint8_t>(bytes[i]);
  return f;
}

struct ReadCase {
  const char* name;
  int length;
  std::string bytes;
  std::string expected;
};

class ReadNameFieldTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadNameFieldTest, CountedField) {
  const Field f = FieldOf(GetParam().length, GetParam().bytes);
  EXPECT_EQ(ReadNameField(f), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, ReadNameFieldTest,
    testing::Values(ReadCase{"length 0 is empty", 0, "abc", ""},
                    ReadCase{"length 3", 3, "Wooden", "Woo"},
                    ReadCase{"length 6, Cyrillic bytes", 6, "\xC1\xE5\xF2\xEE\xED ", "\xC1\xE5\xF2\xEE\xED "},
                    ReadCase{"length 20 gives all 20", 20, "ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQRST"},
                    ReadCase{"length 21 is empty", 21, "ABCDEFGHIJKLMNOPQRST", ""},
                    ReadCase{"length 25 is empty", 25, "ABCDEFGHIJKLMNOPQRST", ""},
                    ReadCase{"cut at a zero inside", 6, std::string("ab\0cde", 6), "ab"}));

struct WriteCase {
  const char* name;
  std::string text;
  int length;          // byte 0 afterwards
  int zeroAt;          // -1: no terminating zero
  int keptFrom;        // bytes from here to 20 keep the old '#'
};

class WriteNameFieldTest : public testing::TestWithParam<WriteCase> {};

TEST_P(WriteNameFieldTest, CountTextZeroAndOldBytes) {
  const WriteCase& c = GetParam();
  Field f;
  f.fill('#');
  WriteNameField(f, c.text);
  EXPECT_EQ(f[0], c.length) << c.name;
  EXPECT_EQ(std::string(f.begin() + 1, f.begin() + 1 + c.length), c.text.substr(0, c.length)) << c.name;
  if (c.zeroAt >= 0) {
    EXPECT_EQ(f[c.zeroAt], 0) << c.name;
  }
  for (int i = c.keptFrom; i < 21; ++i) EXPECT_EQ(f[i], '#') << c.name << " byte " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Names, WriteNameFieldTest,
    testing::Values(WriteCase{"empty name", "", 0, 1, 2},
                    WriteCase{"3 characters, zero, rest kept", "Oak", 3, 4, 5},
                    WriteCase{"19 characters", "ABCDEFGHIJKLMNOPQRS", 19, 20, 21},
                    WriteCase{"20 characters, no zero", "ABCDEFGHIJKLMNOPQRST", 20, -1, 21},
                    WriteCase{"25 characters cut to 20", "ABCDEFGHIJKLMNOPQRSTUVWXY", 20, -1, 21}));

TEST(RebuildMaterialRecord, NamesSpeedAndCrcRebuiltEverythingElseAsReceived) {
  MaterialRecord record = test::MakeMaterialRecord("Old Russian name", "Old English", 1234, 9, 0x5C);
  const MaterialRecord before = record;
  RebuildMaterialRecord(record, "\xC4\xF3\xE1", "Oak", 0xABCD);
  // Russian field: count 3, the text, a zero, then the old bytes.
  EXPECT_EQ(record[0], 3);
  EXPECT_EQ(record[1], 0xC4);
  EXPECT_EQ(record[3], 0xE1);
  EXPECT_EQ(record[4], 0);
  for (int i = 5; i <= 20; ++i) EXPECT_EQ(record[i], before[i]) << i;
  // English field at 21.
  EXPECT_EQ(record[21], 3);
  EXPECT_EQ(std::string(record.begin() + 22, record.begin() + 25), "Oak");
  EXPECT_EQ(record[25], 0);
  for (int i = 26; i <= 41; ++i) EXPECT_EQ(record[i], before[i]) << i;
  // Speed little-endian, number, unused and marker untouched, CRC valid.
  EXPECT_EQ(record[42], 0xCD);
  EXPECT_EQ(record[43], 0xAB);
  for (int i = 44; i <= 49; ++i) EXPECT_EQ(record[i], before[i]) << i;
  EXPECT_TRUE(CheckBlock(record));
  EXPECT_EQ(MaterialSpeed(record), 0xABCD);
  EXPECT_EQ(MaterialNumber(record), 9);
}

TEST(RebuildMaterialRecord, NeverReadRecordKeepsZeroMarker) {
  MaterialRecord record{};
  RebuildMaterialRecord(record, "a", "b", 100);
  for (int i = 44; i <= 49; ++i) EXPECT_EQ(record[i], 0) << i;
  EXPECT_FALSE(CheckBlock(record));  // no marker: the gauge gets what it never sent
}

struct SpeedCase {
  const char* cell;
  std::optional<std::uint16_t> speed;
};

class MaterialSpeedTest : public testing::TestWithParam<SpeedCase> {};

TEST_P(MaterialSpeedTest, WholeNumberFrom0To65535) {
  EXPECT_EQ(ParseMaterialSpeed(GetParam().cell), GetParam().speed) << GetParam().cell;
}

INSTANTIATE_TEST_SUITE_P(Cells, MaterialSpeedTest,
                         testing::Values(SpeedCase{"0", 0}, SpeedCase{"65535", 65535}, SpeedCase{" 4000 ", 4000},
                                         SpeedCase{"65536", std::nullopt}, SpeedCase{"70000", std::nullopt},
                                         SpeedCase{"-1", std::nullopt}, SpeedCase{"", std::nullopt},
                                         SpeedCase{"12a", std::nullopt}, SpeedCase{"1.5", std::nullopt}));

TEST(MaterialNames, DefaultsAsTheGaugeShipsThem) {
  const MaterialNameTable names = DefaultMaterialNames();
  EXPECT_EQ(Cp1251ToUtf8(names[0][0]), "Бетон ");
  EXPECT_EQ(static_cast<unsigned char>(names[0][1][0]), 0xD1);  // Cyrillic Es
  EXPECT_EQ(names[0][1].substr(1), "oncrete");
  EXPECT_EQ(names[5][1], "Wood");
  EXPECT_EQ(Cp1251ToUtf8(names[6][0]), "Материал 1");
  EXPECT_EQ(Cp1251ToUtf8(names[15][0]), "Материал 10");
  EXPECT_EQ(names[15][1], "Material 10");
  EXPECT_EQ(names[19][1], "Material 14");
}

TEST(MaterialNames, LookupEndsAtTwenty) {
  EXPECT_TRUE(MaterialName(19, 1).has_value());
  EXPECT_FALSE(MaterialName(20, 0).has_value());
  EXPECT_FALSE(MaterialName(-1, 0).has_value());
}

}  // namespace
}  // namespace rz47
