#include "sim/gauge_fixture.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <sstream>
#include <vector>

#include "platform/cp1251.h"
#include "sim/display_font.h"

namespace rz47::sim {
namespace {

using Fields = std::vector<std::string>;

struct FixtureError {
  std::string message;
};

Fields SplitTabs(std::string_view line) {
  Fields fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    fields.emplace_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

template <typename T>
T Number(const std::string& text, T low, T high, const char* what) {
  T value{};
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) {
    throw FixtureError{std::string(what) + " \"" + text + "\" is not a whole number from " + std::to_string(low) +
                       " to " + std::to_string(high)};
  }
  return value;
}

std::uint8_t Byte(const std::string& text, const char* what) {
  return static_cast<std::uint8_t>(Number<unsigned>(text, 0, 255, what));
}

std::uint8_t HexByte(const std::string& text) {
  unsigned value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value, 16);
  if (text.empty() || text.size() > 2 || ec != std::errc() || ptr != end) {
    throw FixtureError{"\"" + text + "\" is not a hexadecimal byte"};
  }
  return static_cast<std::uint8_t>(value);
}

std::vector<std::uint8_t> HexBytes(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  std::istringstream words(text);
  std::string word;
  while (words >> word) bytes.push_back(HexByte(word));
  return bytes;
}

float Thickness(const std::string& text) {
  if (text == "nan") return std::numeric_limits<float>::quiet_NaN();
  if (text == "inf") return std::numeric_limits<float>::infinity();
  if (text == "-inf") return -std::numeric_limits<float>::infinity();
  float value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
  if (text.empty() || ec != std::errc() || ptr != end) {
    throw FixtureError{"thickness \"" + text + "\" is not a decimal number"};
  }
  return value;
}

// "a.b.c" or "a:b:c" into three parts.
std::array<std::string, 3> ThreeParts(const std::string& text, char separator, const char* what) {
  std::array<std::string, 3> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t at = i < 2 ? text.find(separator, start) : text.size();
    if (at == std::string::npos) throw FixtureError{std::string(what) + " \"" + text + "\" is malformed"};
    parts[i] = text.substr(start, at - start);
    start = at + 1;
  }
  if (parts[2].find(separator) != std::string::npos) {
    throw FixtureError{std::string(what) + " \"" + text + "\" is malformed"};
  }
  return parts;
}

std::string Name(const std::string& utf8) {
  const std::string name = Utf8ToCp1251(utf8);
  if (name.size() > kMaxNameLength) throw FixtureError{"name \"" + utf8 + "\" is longer than 20 characters"};
  return name;
}

void Expect(const Fields& f, std::size_t low, std::size_t high) {
  if (f.size() < low || f.size() > high) {
    throw FixtureError{"\"" + f[0] + "\" takes " + std::to_string(low - 1) +
                       (low == high ? "" : " to " + std::to_string(high - 1)) + " fields, not " +
                       std::to_string(f.size() - 1)};
  }
}

std::size_t MaterialIndex(const std::string& text) {
  return Number<std::size_t>(text, 0, kMaterialCount - 1, "material number");
}

void Firmware(GaugeModel& m, const Fields& f) {
  Expect(f, 2, 2);
  m.firmwareDate = f[1];
}

void Material(GaugeModel& m, const Fields& f) {
  Expect(f, 5, 5);
  GaugeMaterial& material = m.materials[MaterialIndex(f[1])];
  material.russian = MakeNameField(Name(f[2]));
  material.english = MakeNameField(Name(f[3]));
  material.speed = static_cast<std::uint16_t>(Number<unsigned>(f[4], 0, 65535, "speed"));
}

void MaterialField(GaugeModel& m, const Fields& f) {
  Expect(f, 4, 4);
  GaugeMaterial& material = m.materials[MaterialIndex(f[1])];
  if (f[2] != "ru" && f[2] != "en") throw FixtureError{"language \"" + f[2] + "\" is neither ru nor en"};
  const std::vector<std::uint8_t> bytes = HexBytes(f[3]);
  if (bytes.size() > kNameFieldSize) throw FixtureError{"a name field holds 21 bytes"};
  NameField& field = f[2] == "ru" ? material.russian : material.english;
  field.fill(0);
  std::copy(bytes.begin(), bytes.end(), field.begin());
}

void Record(GaugeModel& m, const Fields& f) {
  Expect(f, 8, 8);
  if (m.archive.size() == kArchiveSlots) throw FixtureError{"the archive holds at most 1600 records"};
  const auto date = ThreeParts(f[1], '.', "date");
  const auto time = ThreeParts(f[2], ':', "time");
  ArchiveRecord r;
  r.day = Byte(date[0], "day");
  r.month = Byte(date[1], "month");
  r.year = static_cast<std::uint8_t>(Number<unsigned>(date[2], 2000, 2255, "year") - 2000);
  r.hour = Byte(time[0], "hour");
  r.minute = Byte(time[1], "minute");
  r.second = Byte(time[2], "second");
  r.series = Byte(f[3], "series");
  r.number = Byte(f[4], "number");
  r.material = Byte(f[5], "material");
  r.thickness = Thickness(f[6]);
  r.speed = Number<std::uint32_t>(f[7], 0, std::numeric_limits<std::uint32_t>::max(), "speed");
  m.archive.push_back(r);
}

void Screen(GaugeModel& m, const Fields& f) {
  Expect(f, 2, 3);
  if (f[1] == "clear" && f.size() == 2) {
    m.screen.fill(0);
  } else if (f[1] == "fill" && f.size() == 3) {
    m.screen.fill(HexByte(f[2]));
  } else {
    throw FixtureError{"screen takes \"clear\" or \"fill HEX\""};
  }
}

void ScreenText(GaugeModel& m, const Fields& f) {
  Expect(f, 4, 5);
  const int x = Number<int>(f[1], 0, kScreenWidth - 1, "x");
  const int y = Number<int>(f[2], 0, kScreenHeight - 1, "y");
  const int scale = f.size() == 5 ? Number<int>(f[4], 1, 8, "scale") : 1;
  DrawText(m.screen, x, y, f[3], scale);
}

void ScreenBytes(GaugeModel& m, const Fields& f) {
  Expect(f, 3, 3);
  const std::size_t offset = Number<std::size_t>(f[1], 0, kScreenBytes - 1, "offset");
  const std::vector<std::uint8_t> bytes = HexBytes(f[2]);
  if (offset + bytes.size() > kScreenBytes) throw FixtureError{"the bytes run past the end of the image"};
  std::copy(bytes.begin(), bytes.end(), m.screen.begin() + static_cast<std::ptrdiff_t>(offset));
}

const std::map<std::string, void (*)(GaugeModel&, const Fields&), std::less<>>& Keywords() {
  static const std::map<std::string, void (*)(GaugeModel&, const Fields&), std::less<>> keywords{
      {"firmware", Firmware},     {"material", Material},      {"material-field", MaterialField},
      {"record", Record},         {"screen", Screen},          {"screen-text", ScreenText},
      {"screen-bytes", ScreenBytes},
  };
  return keywords;
}

}  // namespace

std::optional<GaugeModel> ParseGaugeFixture(std::string_view text, std::string* error) {
  GaugeModel model = MakeDemoGaugeModel();
  model.archive.clear();
  std::size_t lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t newline = text.find('\n', start);
    std::string_view line = text.substr(start, newline == std::string_view::npos ? std::string_view::npos : newline - start);
    start = newline == std::string_view::npos ? text.size() : newline + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const Fields fields = SplitTabs(line);
    try {
      auto it = Keywords().find(fields[0]);
      if (it == Keywords().end()) throw FixtureError{"unknown entry \"" + fields[0] + "\""};
      it->second(model, fields);
    } catch (const FixtureError& e) {
      if (error != nullptr) *error = "line " + std::to_string(lineNumber) + ": " + e.message;
      return std::nullopt;
    }
  }
  OccupyFirstSlots(model);
  return model;
}

std::optional<GaugeModel> LoadGaugeFixture(const std::string& path, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (error != nullptr) *error = "cannot open " + path;
    return std::nullopt;
  }
  std::ostringstream content;
  content << file.rdbuf();
  std::string parseError;
  auto model = ParseGaugeFixture(content.str(), &parseError);
  if (!model && error != nullptr) *error = path + ": " + parseError;
  return model;
}

}  // namespace rz47::sim
