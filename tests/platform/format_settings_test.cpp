#include "platform/format_settings.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/convert_error.h"

namespace rz47 {
namespace {

const FormatSettings kRu = MakeFormatSettings("dd.MM.yyyy", ',');
const FormatSettings kUs = MakeFormatSettings("M/d/yy", '.', "h:mm:ss AP");
const FormatSettings kIso = MakeFormatSettings("d MMM yyyy", '.');

TEST(FormatSettings, PatternWithMonthNamesBecomesNumeric) {
  EXPECT_EQ(kIso.shortDateFormat, "yyyy-MM-dd");
  EXPECT_EQ(kIso.dateSeparator, '-');
  EXPECT_EQ(kRu.dateSeparator, '.');
  EXPECT_EQ(kUs.dateSeparator, '/');
}

struct DateCase {
  const FormatSettings* fs;
  CivilDate date;
  const char* text;
};

class DateFormat : public testing::TestWithParam<DateCase> {};

TEST_P(DateFormat, WritesAndReadsBack) {
  const DateCase& c = GetParam();
  EXPECT_EQ(FormatDate(c.date, *c.fs), c.text);
  EXPECT_EQ(ParseDate(c.text, *c.fs), c.date);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, DateFormat,
    testing::Values(DateCase{&kRu, {2014, 6, 10}, "10.06.2014"}, DateCase{&kRu, {2015, 1, 1}, "01.01.2015"},
                    DateCase{&kRu, {2000, 2, 29}, "29.02.2000"}, DateCase{&kUs, {2014, 6, 10}, "6/10/14"},
                    DateCase{&kUs, {2099, 12, 31}, "12/31/99"}, DateCase{&kUs, {2000, 1, 5}, "1/5/00"},
                    // Outside the century window the year keeps all its digits.
                    DateCase{&kUs, {2100, 3, 4}, "3/4/2100"}, DateCase{&kUs, {1999, 3, 4}, "3/4/1999"},
                    DateCase{&kIso, {2255, 11, 30}, "2255-11-30"}));

TEST(DateFormat, EveryDayOfTwoCenturiesRoundTripsInEachLocale) {
  for (const FormatSettings* fs : {&kRu, &kUs, &kIso}) {
    for (std::int64_t day = DaysFromCivil({1990, 1, 1}); day < DaysFromCivil({2190, 1, 1}); ++day) {
      CivilDate date = CivilFromDays(day);
      ASSERT_EQ(ParseDate(FormatDate(date, *fs), *fs), date) << FormatDate(date, *fs);
    }
  }
}

struct BadText {
  const FormatSettings* fs;
  const char* text;
};

class DateParseError : public testing::TestWithParam<BadText> {};

TEST_P(DateParseError, ThrowsConvertErrorNamingTheText) {
  const BadText& c = GetParam();
  try {
    ParseDate(c.text, *c.fs);
    FAIL() << "parsed " << c.text;
  } catch (const EConvertError& e) {
    EXPECT_NE(std::string(e.what()).find(std::string("'") + c.text + "'"), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(Table, DateParseError,
                         testing::Values(BadText{&kRu, ""}, BadText{&kRu, "NAN"}, BadText{&kRu, "6/10/14"},
                                         BadText{&kRu, "31.02.2014"}, BadText{&kRu, "10.13.2014"},
                                         BadText{&kRu, "10.06.2014x"}, BadText{&kUs, "10.06.2014"},
                                         BadText{&kUs, "0/1/14"}, BadText{&kIso, "2014-06"}));

struct TimeCase {
  const FormatSettings* fs;
  const char* text;
  TimeOfDay time;
};

class TimeParse : public testing::TestWithParam<TimeCase> {};

TEST_P(TimeParse, ReadsTheTime) {
  const TimeCase& c = GetParam();
  EXPECT_EQ(ParseTime(c.text, *c.fs), c.time);
}

INSTANTIATE_TEST_SUITE_P(Table, TimeParse,
                         testing::Values(TimeCase{&kRu, "09:05:07", {9, 5, 7}}, TimeCase{&kRu, "23:59:59", {23, 59, 59}},
                                         TimeCase{&kRu, "0:00:00", {0, 0, 0}}, TimeCase{&kRu, "12:30", {12, 30, 0}},
                                         TimeCase{&kUs, "1:05:00 PM", {13, 5, 0}},
                                         TimeCase{&kUs, "12:00:01 AM", {0, 0, 1}}));

TEST(TimeFormat, HmsIsTwoDigitsEachOnTheTwentyFourHourClock) {
  EXPECT_EQ(FormatTimeHms({9, 5, 7}), "09:05:07");
  EXPECT_EQ(FormatTimeHms({23, 0, 59}), "23:00:59");
  EXPECT_EQ(FormatTimeOfDay({13, 5, 0}, "h:mm:ss AP"), "1:05:00 PM");
  for (int s = 0; s < 86400; s += 7) {
    TimeOfDay t{s / 3600, s / 60 % 60, s % 60};
    ASSERT_EQ(ParseTime(FormatTimeHms(t), kRu), t);
  }
}

TEST(TimeParse, RejectsImpossibleTimes) {
  for (const char* text : {"24:00:00", "12:60:00", "12:00:60", "", "12", "ab:cd:ef", "13:00:00 PM"}) {
    EXPECT_THROW(ParseTime(text, kUs), EConvertError) << text;
  }
}

struct DecimalCase {
  double value;
  const char* ru;
  const char* us;
};

class Decimal : public testing::TestWithParam<DecimalCase> {};

TEST_P(Decimal, FormatsWithTheRegionalSeparator) {
  const DecimalCase& c = GetParam();
  EXPECT_EQ(FormatFixed2(c.value, kRu), c.ru);
  EXPECT_EQ(FormatFixed2(c.value, kUs), c.us);
}

INSTANTIATE_TEST_SUITE_P(Table, Decimal,
                         testing::Values(DecimalCase{0.5, "0,50", "0.50"}, DecimalCase{0.0, "0,00", "0.00"},
                                         DecimalCase{123.456, "123,46", "123.46"},
                                         DecimalCase{0.125, "0,13", "0.13"},  // a binary tie rounds away
                                         DecimalCase{-2.5, "-2,50", "-2.50"},
                                         DecimalCase{-0.001, "0,00", "0.00"},
                                         DecimalCase{1.005, "1,00", "1.00"},  // 1.00499999... lies below the tie
                                         DecimalCase{99.995, "100,00", "100.00"},  // 99.99500000000000454...
                                         DecimalCase{1e6, "1000000,00", "1000000.00"},
                                         DecimalCase{NAN, "NAN", "NAN"}, DecimalCase{INFINITY, "INF", "INF"},
                                         DecimalCase{-INFINITY, "-INF", "-INF"}));

TEST(Decimal, WhatIsWrittenReadsBackAsTheSameText) {
  for (const FormatSettings* fs : {&kRu, &kUs}) {
    for (int i = -100000; i <= 100000; i += 37) {
      std::string text = FormatFixed2(i / 100.0, *fs);
      ASSERT_EQ(FormatFixed2(ParseDouble(text, *fs), *fs), text);
    }
    EXPECT_TRUE(std::isnan(ParseDouble("NAN", *fs)));
    EXPECT_EQ(ParseDouble("-INF", *fs), -INFINITY);
  }
}

TEST(Decimal, ForeignSeparatorAndJunkAreConversionErrors) {
  EXPECT_THROW(ParseDouble("1.5", kRu), EConvertError);
  EXPECT_THROW(ParseDouble("1,5", kUs), EConvertError);
  for (const char* text : {"", "abc", "1,5x", "--1", "1 000"}) {
    EXPECT_THROW(ParseDouble(text, kRu), EConvertError) << text;
  }
  EXPECT_DOUBLE_EQ(ParseDouble(" 1,5 ", kRu), 1.5);
  EXPECT_DOUBLE_EQ(ParseDouble("1e3", kUs), 1000.0);
}

TEST(Int32, ParsesTheWholeSignedRangeAndRejectsOverflow) {
  EXPECT_EQ(ParseInt32("2147483647"), 2147483647);
  EXPECT_EQ(ParseInt32("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseInt32(" 42 "), 42);
  EXPECT_EQ(ParseInt32("+7"), 7);
  for (const char* text : {"2147483648", "-2147483649", "", "1.0", "12a", "NAN", "- 1"}) {
    EXPECT_THROW(ParseInt32(text), EConvertError) << text;
  }
}

}  // namespace
}  // namespace rz47
