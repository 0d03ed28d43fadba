// Regional format settings and the conversions that follow them.
//
// `FormatSettings` holds what the environment's locale says about dates, times and
// decimals. The program fills it once at start (see platform/qt/system_format_settings.h)
// and tests set it directly. Patterns use the Qt date/time pattern letters
// (d dd M MM yy yyyy h hh H HH m mm s ss AP ap, '...' for literal text).
//
// Everything formatted here parses back to the same value with the same settings:
// two-digit years use the fixed century window 2000-2099, and a year outside that
// window is written with all its digits even under a "yy" pattern.
// A text that does not parse throws EConvertError (UTF-8 message naming the text).
// Not synchronised: set the settings before workers start.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rz47 {

struct FormatSettings {
  std::string shortDateFormat = "dd.MM.yyyy";
  char dateSeparator = '.';
  char decimalSeparator = '.';
  char timeSeparator = ':';
  std::string longTimeFormat = "hh:mm:ss";
};

struct CivilDate {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

struct TimeOfDay {
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59
  friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

constexpr int kCenturyWindowStart = 2000;  // "yy" reads 00..99 as 2000..2099

const FormatSettings& CurrentFormatSettings();
void SetFormatSettings(const FormatSettings& settings);

// Settings for a short date pattern as a locale gives it. A pattern that names
// months ("MMM", "MMMM") is replaced by the numeric "yyyy-MM-dd"; the date separator
// is the first separator character of the pattern.
FormatSettings MakeFormatSettings(std::string_view shortDatePattern, char decimalSeparator,
                                  std::string_view longTimePattern = "hh:mm:ss");

bool IsValidDate(const CivilDate& date);
bool IsValidTime(const TimeOfDay& time);

// Days since 1970-01-01 (negative before); a strictly increasing key for dates.
std::int64_t DaysFromCivil(const CivilDate& date);
CivilDate CivilFromDays(std::int64_t days);

std::string FormatDate(const CivilDate& date, const FormatSettings& fs = CurrentFormatSettings());
std::string FormatTimeOfDay(const TimeOfDay& time, std::string_view pattern);
// "hh:mm:ss" on the 24-hour clock, as the table's time cells read.
std::string FormatTimeHms(const TimeOfDay& time);

CivilDate ParseDate(std::string_view text, const FormatSettings& fs = CurrentFormatSettings());
// Reads "h:mm[:ss]" with the time separator, optionally followed by AM/PM.
TimeOfDay ParseTime(std::string_view text, const FormatSettings& fs = CurrentFormatSettings());

// "0.00": at least one integer digit, two decimals rounded half away from zero, the
// regional decimal separator; NaN gives "NAN", infinities "INF" and "-INF".
std::string FormatFixed2(double value, const FormatSettings& fs = CurrentFormatSettings());
// A decimal with the regional separator (blanks around it allowed, an exponent
// allowed, "NAN", "INF", "-INF" accepted). A text with another separator fails.
double ParseDouble(std::string_view text, const FormatSettings& fs = CurrentFormatSettings());
// A decimal integer that fits 32 bits signed; blanks around it allowed.
std::int32_t ParseInt32(std::string_view text);

}  // namespace rz47
