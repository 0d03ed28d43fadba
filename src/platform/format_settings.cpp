#include "platform/format_settings.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/convert_error.h"
#include "platform/cp1251.h"

namespace rz47 {
namespace {

FormatSettings& MutableSettings() {
  static FormatSettings settings;
  return settings;
}

[[noreturn]] void ThrowConvert(std::string_view text, std::string_view what) {
  throw EConvertError("'" + Cp1251ToUtf8(text) + "' is not a valid " + std::string(what));
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the run of letter `c` at the start of `pattern`.
std::size_t RunLength(std::string_view pattern, std::size_t at) {
  std::size_t n = 1;
  while (at + n < pattern.size() && pattern[at + n] == pattern[at]) ++n;
  return n;
}

void AppendNumber(std::string& out, int value, int minDigits) {
  char buf[16];
  auto res = std::to_chars(buf, buf + sizeof buf, value < 0 ? -value : value);
  int digits = static_cast<int>(res.ptr - buf);
  if (value < 0) out.push_back('-');
  for (int i = digits; i < minDigits; ++i) out.push_back('0');
  out.append(buf, res.ptr);
}

void AppendYear(std::string& out, int year, std::size_t letters) {
  if (letters <= 2 && year >= kCenturyWindowStart && year < kCenturyWindowStart + 100) {
    AppendNumber(out, year - kCenturyWindowStart, 2);
  } else {
    AppendNumber(out, year, 4);
  }
}

struct DateTimeFields {
  CivilDate date{1899, 12, 30};
  TimeOfDay time{};
  bool pm = false;
  bool hasAmPm = false;
};

// Walks a Qt-style pattern and writes the fields it names.
std::string FormatPattern(std::string_view pattern, const CivilDate& date, const TimeOfDay& time) {
  bool twelveHour = pattern.find("AP") != std::string_view::npos ||
                    pattern.find("ap") != std::string_view::npos;
  std::string out;
  for (std::size_t i = 0; i < pattern.size();) {
    char c = pattern[i];
    std::size_t n = RunLength(pattern, i);
    switch (c) {
      case 'd': AppendNumber(out, date.day, n >= 2 ? 2 : 1); break;
      case 'M': AppendNumber(out, date.month, n >= 2 ? 2 : 1); break;
      case 'y': AppendYear(out, date.year, n); break;
      case 'h': case 'H': {
        int hour = time.hour;
        if (c == 'h' && twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
        AppendNumber(out, hour, n >= 2 ? 2 : 1);
        break;
      }
      case 'm': AppendNumber(out, time.minute, n >= 2 ? 2 : 1); break;
      case 's': AppendNumber(out, time.second, n >= 2 ? 2 : 1); break;
      case 'A': case 'a':
        if (i + 1 < pattern.size() && (pattern[i + 1] == 'P' || pattern[i + 1] == 'p')) {
          bool upper = c == 'A';
          out += time.hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
          n = 2;
        } else {
          out.push_back(c);
          n = 1;
        }
        break;
      case '\'': {
        std::size_t close = pattern.find('\'', i + 1);
        if (close == std::string_view::npos) close = pattern.size();
        out.append(pattern.substr(i + 1, close - i - 1));
        n = close - i + 1;
        break;
      }
      default:
        out.append(n, c);
        break;
    }
    i += n;
  }
  return out;
}

// Reads up to `maxDigits` digits; false when there is none.
bool ReadNumber(std::string_view text, std::size_t& at, std::size_t maxDigits, int& value,
                std::size_t* digitsRead = nullptr) {
  std::size_t start = at;
  long long v = 0;
  while (at < text.size() && IsDigit(text[at]) && at - start < maxDigits) {
    v = v * 10 + (text[at] - '0');
    ++at;
  }
  if (at == start) return false;
  value = static_cast<int>(v);
  if (digitsRead) *digitsRead = at - start;
  return true;
}

CivilDate ParseDateWithPattern(std::string_view original, std::string_view pattern) {
  std::string_view text = TrimBlanks(original);
  CivilDate date{};
  bool haveDay = false, haveMonth = false, haveYear = false;
  std::size_t at = 0;
  for (std::size_t i = 0; i < pattern.size();) {
    char c = pattern[i];
    std::size_t n = RunLength(pattern, i);
    if (c == 'd' || c == 'M' || c == 'y') {
      int value = 0;
      std::size_t digits = 0;
      if (!ReadNumber(text, at, c == 'y' ? 6 : 2, value, &digits)) ThrowConvert(original, "date");
      if (c == 'd') { date.day = value; haveDay = true; }
      if (c == 'M') { date.month = value; haveMonth = true; }
      if (c == 'y') {
        date.year = digits <= 2 ? kCenturyWindowStart + value : value;
        haveYear = true;
      }
    } else if (c == '\'') {
      std::size_t close = pattern.find('\'', i + 1);
      if (close == std::string_view::npos) close = pattern.size();
      std::string_view literal = pattern.substr(i + 1, close - i - 1);
      if (text.substr(at, literal.size()) != literal) ThrowConvert(original, "date");
      at += literal.size();
      n = close - i + 1;
    } else {
      for (std::size_t k = 0; k < n; ++k) {
        if (at >= text.size() || text[at] != c) ThrowConvert(original, "date");
        ++at;
      }
    }
    i += n;
  }
  if (at != text.size() || !haveDay || !haveMonth || !haveYear || !IsValidDate(date)) {
    ThrowConvert(original, "date");
  }
  return date;
}

}  // namespace

const FormatSettings& CurrentFormatSettings() { return MutableSettings(); }

void SetFormatSettings(const FormatSettings& settings) { MutableSettings() = settings; }

FormatSettings MakeFormatSettings(std::string_view shortDatePattern, char decimalSeparator,
                                  std::string_view longTimePattern) {
  FormatSettings fs;
  fs.shortDateFormat = std::string(shortDatePattern);
  if (shortDatePattern.find("MMM") != std::string_view::npos || shortDatePattern.empty()) {
    fs.shortDateFormat = "yyyy-MM-dd";
  }
  fs.dateSeparator = '/';
  for (char c : fs.shortDateFormat) {
    if (c != 'd' && c != 'M' && c != 'y' && c != '\'') {
      fs.dateSeparator = c;
      break;
    }
  }
  fs.decimalSeparator = decimalSeparator;
  fs.longTimeFormat = longTimePattern.empty() ? "hh:mm:ss" : std::string(longTimePattern);
  return fs;
}

bool IsValidDate(const CivilDate& d) {
  if (d.year < 1 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
  int days = kDays[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
  return d.day <= days;
}

bool IsValidTime(const TimeOfDay& t) {
  return t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 &&
         t.second < 60;
}

// Howard Hinnant's days-from-civil algorithm (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(const CivilDate& date) {
  std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
  std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  std::int64_t yoe = y - era * 400;
  std::int64_t mp = (date.month + 9) % 12;
  std::int64_t doy = (153 * mp + 2) / 5 + date.day - 1;
  std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(std::int64_t z) {
  z += 719468;
  std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  std::int64_t doe = z - era * 146097;
  std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  std::int64_t mp = (5 * doy + 2) / 153;
  int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  return CivilDate{year, month, day};
}

std::string FormatDate(const CivilDate& date, const FormatSettings& fs) {
  return FormatPattern(fs.shortDateFormat, date, TimeOfDay{});
}

std::string FormatTimeOfDay(const TimeOfDay& time, std::string_view pattern) {
  return FormatPattern(pattern, CivilDate{1899, 12, 30}, time);
}

std::string FormatTimeHms(const TimeOfDay& time) { return FormatTimeOfDay(time, "hh:mm:ss"); }

CivilDate ParseDate(std::string_view text, const FormatSettings& fs) {
  return ParseDateWithPattern(text, fs.shortDateFormat);
}

TimeOfDay ParseTime(std::string_view original, const FormatSettings& fs) {
  std::string_view text = TrimBlanks(original);
  int fields[3] = {0, 0, 0};
  std::size_t at = 0;
  int count = 0;
  while (count < 3) {
    if (!ReadNumber(text, at, 2, fields[count])) ThrowConvert(original, "time");
    ++count;
    if (at < text.size() && text[at] == fs.timeSeparator && count < 3) {
      ++at;
      continue;
    }
    break;
  }
  if (count < 2) ThrowConvert(original, "time");
  std::string_view rest = TrimBlanks(text.substr(at));
  TimeOfDay time{fields[0], fields[1], fields[2]};
  if (!rest.empty()) {
    bool am = rest == "AM" || rest == "am";
    bool pm = rest == "PM" || rest == "pm";
    if ((!am && !pm) || time.hour < 1 || time.hour > 12) ThrowConvert(original, "time");
    time.hour = time.hour % 12 + (pm ? 12 : 0);
  }
  if (!IsValidTime(time)) ThrowConvert(original, "time");
  return time;
}

std::string FormatFixed2(double value, const FormatSettings& fs) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  // The exact decimal expansion, rounded half away from zero at the second decimal.
  char buf[1100];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed, 3 + 330);
  std::string digits(buf, res.ptr);
  std::size_t point = digits.find('.');
  std::string whole = digits.substr(0, point);
  std::string frac = digits.substr(point + 1, 2);
  bool roundUp = digits[point + 3] >= '5';
  std::string number = whole + frac;  // integer count of hundredths
  if (roundUp) {
    int i = static_cast<int>(number.size()) - 1;
    while (i >= 0 && number[i] == '9') number[i--] = '0';
    if (i < 0) number.insert(number.begin(), '1');
    else ++number[i];
  }
  std::string out;
  if (std::signbit(value) && number.find_first_not_of('0') != std::string::npos) out.push_back('-');
  out.append(number, 0, number.size() - 2);
  out.push_back(fs.decimalSeparator);
  out.append(number, number.size() - 2, 2);
  return out;
}

double ParseDouble(std::string_view original, const FormatSettings& fs) {
  std::string_view text = TrimBlanks(original);
  if (text == "NAN") return std::numeric_limits<double>::quiet_NaN();
  if (text == "INF" || text == "+INF") return std::numeric_limits<double>::infinity();
  if (text == "-INF") return -std::numeric_limits<double>::infinity();
  std::string normal;
  normal.reserve(text.size());
  for (char c : text) {
    if (c == fs.decimalSeparator) normal.push_back('.');
    else if (c == '.' || c == ',' || c == ' ') ThrowConvert(original, "floating point value");
    else normal.push_back(c);
  }
  std::string_view body = normal;
  if (!body.empty() && body.front() == '+') body.remove_prefix(1);
  if (body.empty() || !(IsDigit(body.front()) || body.front() == '-' || body.front() == '.')) {
    ThrowConvert(original, "floating point value");
  }
  double value = 0;
  auto res = std::from_chars(body.data(), body.data() + body.size(), value,
                             std::chars_format::general);
  if (res.ec != std::errc() || res.ptr != body.data() + body.size()) {
    ThrowConvert(original, "floating point value");
  }
  return value;
}

std::int32_t ParseInt32(std::string_view original) {
  std::string_view text = TrimBlanks(original);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int32_t value = 0;
  auto res = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || res.ec != std::errc() || res.ptr != text.data() + text.size()) {
    ThrowConvert(original, "integer value");
  }
  return value;
}

}  // namespace rz47
