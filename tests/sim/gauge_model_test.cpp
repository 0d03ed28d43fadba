// The gauge model: name fields, the demo content, the display image, fixtures.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "sim/display_font.h"
#include "sim/gauge_fixture.h"
#include "sim/gauge_model.h"
#include "sim_test_util.h"

namespace rz47::sim {
namespace {

using testing::Bytes;

NameField Field(const Bytes& bytes) {
  NameField field{};
  std::copy(bytes.begin(), bytes.end(), field.begin());
  return field;
}

struct NameCase {
  std::string name;
  Bytes field;
  std::string expected;
};

class NameFieldReading : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameFieldReading, FollowsTheLengthByte) { EXPECT_EQ(NameOf(Field(GetParam().field)), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Fields, NameFieldReading,
    ::testing::Values(NameCase{"six_letters", {6, 'B', 'e', 't', 'o', 'n', 'X', 'Y'}, "BetonX"},
                      NameCase{"length_zero", {0, 'a', 'b'}, ""},
                      NameCase{"length_21", {21, 'a', 'b'}, ""},
                      NameCase{"length_25", {25, 'a', 'b'}, ""},
                      NameCase{"cut_at_zero", {5, 'a', 'b', 0, 'c', 'd'}, "ab"},
                      NameCase{"twenty", {20, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j',
                                          'k', 'l', 'm', 'n', 'o', 'p', 'q', 'r', 's', 't'},
                               "abcdefghijklmnopqrst"}),
    [](const auto& testInfo) { return testInfo.param.name; });

TEST(NameFieldWriting, ShortNameGetsZeroAndErasedFiller) {
  const NameField field = MakeNameField("abc");
  Bytes expected = {3, 'a', 'b', 'c', 0};
  expected.resize(kNameFieldSize, 0xFF);
  EXPECT_EQ(Bytes(field.begin(), field.end()), expected);
}

TEST(NameFieldWriting, LongNameIsCutAtTwentyWithoutZero) {
  const NameField field = MakeNameField("abcdefghijklmnopqrstuvwxy");
  EXPECT_EQ(field[0], 20);
  EXPECT_EQ(std::string(field.begin() + 1, field.end()), "abcdefghijklmnopqrst");
}

TEST(DemoGauge, HoldsAPlausibleArchive) {
  const GaugeModel model = MakeDemoGaugeModel();
  ASSERT_EQ(model.archive.size(), 300u);
  EXPECT_EQ(model.occupied.count(), model.archive.size());
  EXPECT_EQ(model.firmwareDate, "21.04.2015");
  std::set<int> days;
  std::set<int> materials;
  for (const ArchiveRecord& r : model.archive) {
    ASSERT_TRUE(r.second < 60 && r.minute < 60 && r.hour < 24) << int(r.hour) << ":" << int(r.minute);
    ASSERT_TRUE(r.day >= 1 && r.day <= 30 && r.month >= 1 && r.month <= 12);
    ASSERT_LT(r.material, kMaterialCount);
    ASSERT_GT(r.thickness, 0.0f);
    ASSERT_EQ(r.speed, model.materials[r.material].speed);
    ASSERT_GE(r.number, 1);
    days.insert(r.year * 400 + r.month * 32 + r.day);
    materials.insert(r.material);
  }
  EXPECT_GE(days.size(), 3u);
  EXPECT_GE(materials.size(), 5u);
}

TEST(DemoGauge, HasThirteenNamedMaterialsWithRealisticSpeeds) {
  const GaugeModel model = MakeDemoGaugeModel();
  for (std::size_t i = 0; i < kMaterialCount; ++i) {
    const GaugeMaterial& m = model.materials[i];
    EXPECT_FALSE(NameOf(m.russian).empty()) << i;
    EXPECT_FALSE(NameOf(m.english).empty()) << i;
    EXPECT_TRUE(m.speed >= 1000 && m.speed <= 6500) << i << ": " << m.speed;
    EXPECT_EQ(m.number, i + 1);
  }
  EXPECT_EQ(NameOf(model.materials[0].russian), "\xC1\xE5\xF2\xEE\xED");  // "Бетон"
}

TEST(DemoGauge, DisplayShowsText) {
  const GaugeModel model = MakeDemoGaugeModel();
  std::size_t lit = 0;
  for (std::uint8_t byte : model.screen) lit += static_cast<std::size_t>(__builtin_popcount(byte));
  EXPECT_GT(lit, 300u);
  EXPECT_LT(lit, 4000u);
}

struct DotCase {
  int x;
  int y;
  std::size_t byte;
  std::uint8_t value;
};

class DisplayLayout : public ::testing::TestWithParam<DotCase> {};

TEST_P(DisplayLayout, DotLandsInItsBandByteAndBit) {
  ScreenImage image{};
  SetDot(image, GetParam().x, GetParam().y);
  for (std::size_t k = 0; k < image.size(); ++k) {
    ASSERT_EQ(image[k], k == GetParam().byte ? GetParam().value : 0) << "byte " << k;
  }
  EXPECT_TRUE(DotAt(image, GetParam().x, GetParam().y));
}

INSTANTIATE_TEST_SUITE_P(Dots, DisplayLayout,
                         ::testing::Values(DotCase{0, 0, 0, 0x01}, DotCase{127, 7, 127, 0x80}, DotCase{0, 8, 128, 0x01},
                                           DotCase{127, 63, 1023, 0x80}, DotCase{5, 19, 261, 0x08}));

TEST(DisplayFont, DrawsGlyphRowsTopDown) {
  ScreenImage image{};
  DrawText(image, 0, 0, "-1");
  // '-' lights row 3 of columns 0..4; '1' starts at column 6 with its stem at column 8.
  for (int x = 0; x < 5; ++x) EXPECT_TRUE(DotAt(image, x, 3)) << x;
  EXPECT_FALSE(DotAt(image, 0, 2));
  for (int y = 0; y < 7; ++y) EXPECT_TRUE(DotAt(image, 8, y)) << y;
  EXPECT_FALSE(DotAt(image, 5, 3));  // the gap between glyphs
}

TEST(DisplayFont, ScaleDoublesEveryDot) {
  ScreenImage image{};
  const int end = DrawText(image, 10, 10, "-", 2);
  EXPECT_EQ(end, 10 + 2 * kGlyphAdvance);
  for (int dy = 0; dy < 2; ++dy) {
    for (int x = 10; x < 20; ++x) EXPECT_TRUE(DotAt(image, x, 16 + dy)) << x;
  }
  EXPECT_FALSE(DotAt(image, 10, 15));
  EXPECT_FALSE(DotAt(image, 10, 18));
}

TEST(GaugeFixture, ReplacesTheDemoContent) {
  const GaugeModel model = testing::FixtureModel(
      "# a gauge with two records\r\n"
      "firmware\t10.06.2014\r\n"
      "\r\n"
      "material\t12\t\xD0\x93\xD1\x80\xD0\xB0\xD0\xBD\xD0\xB8\xD1\x82\tGranite \t5500\r\n"
      "material-field\t2\ten\t19 41 42\r\n"
      "record\t13.00.2015\t24:60:61\t1\t2\t15\tnan\t0\r\n"
      "record\t01.01.2000\t00:00:00\t0\t0\t0\t-inf\t1\r\n"
      "screen\tfill\tff\r\n");
  EXPECT_EQ(model.firmwareDate, "10.06.2014");
  EXPECT_EQ(NameOf(model.materials[12].russian), "\xC3\xF0\xE0\xED\xE8\xF2");  // "Гранит"
  EXPECT_EQ(NameOf(model.materials[12].english), "Granite ");
  EXPECT_EQ(model.materials[12].speed, 5500);
  EXPECT_EQ(NameOf(model.materials[2].english), "");  // length 25 reads as empty
  EXPECT_EQ(model.materials[2].english[1], 0x41);
  EXPECT_EQ(NameOf(model.materials[0].english), "Concrete");  // not in the fixture: demo
  ASSERT_EQ(model.archive.size(), 2u);
  EXPECT_EQ(model.archive[0].month, 0);
  EXPECT_EQ(model.archive[0].hour, 24);
  EXPECT_EQ(model.archive[0].second, 61);
  EXPECT_EQ(model.archive[0].material, 15);
  EXPECT_TRUE(std::isnan(model.archive[0].thickness));
  EXPECT_TRUE(std::isinf(model.archive[1].thickness) && model.archive[1].thickness < 0);
  EXPECT_EQ(model.archive[1].year, 0);
  EXPECT_EQ(model.occupied.count(), 2u);
  EXPECT_TRUE(model.occupied.test(0) && model.occupied.test(1));
  for (std::uint8_t byte : model.screen) ASSERT_EQ(byte, 0xFF);
}

TEST(GaugeFixture, WithoutRecordsTheArchiveIsEmpty) {
  const GaugeModel model = testing::FixtureModel("firmware\t21.04.2015\n");
  EXPECT_TRUE(model.archive.empty());
  EXPECT_EQ(model.occupied.count(), 0u);
}

struct BadFixture {
  std::string name;
  std::string text;
  std::string error;
};

class GaugeFixtureErrors : public ::testing::TestWithParam<BadFixture> {};

TEST_P(GaugeFixtureErrors, NameTheLineAndTheProblem) {
  std::string error;
  EXPECT_FALSE(ParseGaugeFixture(GetParam().text, &error).has_value());
  EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, GaugeFixtureErrors,
    ::testing::Values(
        BadFixture{"unknown_entry", "firmware\tx\nrecords\t1\n", "line 2: unknown entry \"records\""},
        BadFixture{"material_out_of_range", "material\t13\ta\tb\t1\n",
                   "line 1: material number \"13\" is not a whole number from 0 to 12"},
        BadFixture{"speed_too_big", "material\t0\ta\tb\t65536\n",
                   "line 1: speed \"65536\" is not a whole number from 0 to 65535"},
        BadFixture{"name_too_long", "material\t0\tabcdefghijklmnopqrstu\tb\t1\n",
                   "line 1: name \"abcdefghijklmnopqrstu\" is longer than 20 characters"},
        BadFixture{"field_count", "record\t01.01.2015\t10:00:00\t1\t2\t3\t4.5\n",
                   "line 1: \"record\" takes 7 fields, not 6"},
        BadFixture{"bad_date", "record\t01-01-2015\t10:00:00\t1\t2\t3\t4.5\t6\n",
                   "line 1: date \"01-01-2015\" is malformed"},
        BadFixture{"bad_year", "record\t01.01.1999\t10:00:00\t1\t2\t3\t4.5\t6\n",
                   "line 1: year \"1999\" is not a whole number from 2000 to 2255"},
        BadFixture{"bad_thickness", "record\t01.01.2015\t10:00:00\t1\t2\t3\t4,5\t6\n",
                   "line 1: thickness \"4,5\" is not a decimal number"},
        BadFixture{"bad_hex", "screen-bytes\t0\t01 zz\n", "line 1: \"zz\" is not a hexadecimal byte"},
        BadFixture{"bytes_past_end", "screen-bytes\t1023\t01 02\n",
                   "line 1: the bytes run past the end of the image"}),
    [](const auto& testInfo) { return testInfo.param.name; });

TEST(GaugeFixtureErrors, TooManyRecords) {
  std::string text;
  for (int i = 0; i < 1601; ++i) text += "record\t01.01.2015\t10:00:00\t1\t2\t3\t4.5\t6\n";
  std::string error;
  EXPECT_FALSE(ParseGaugeFixture(text, &error).has_value());
  EXPECT_EQ(error, "line 1601: the archive holds at most 1600 records");
}

TEST(GaugeFixtureErrors, MissingFileIsNamed) {
  std::string error;
  EXPECT_FALSE(LoadGaugeFixture("/nonexistent/gauge.txt", &error).has_value());
  EXPECT_EQ(error, "cannot open /nonexistent/gauge.txt");
}

}  // namespace
}  // namespace rz47::sim
