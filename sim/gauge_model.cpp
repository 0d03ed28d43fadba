#include "sim/gauge_model.h"

#include <algorithm>
#include <charconv>

#include "platform/cp1251.h"
#include "sim/display_font.h"

namespace rz47::sim {
namespace {

struct DemoMaterial {
  const char* russian;  // UTF-8
  const char* english;
  std::uint16_t speed;  // typical speed of sound across the element, m/s
  std::array<float, 4> thicknesses;  // usual element thicknesses, mm
};

// Building materials a thickness gauge meets, with typical pulse velocities.
constexpr std::array<DemoMaterial, kMaterialCount> kDemoMaterials{{
    {"Бетон", "Concrete", 4000, {160, 200, 250, 300}},
    {"Пенобетон", "Concr.Foam", 1600, {100, 200, 300, 400}},
    {"Газобетон", "Concr.Air", 1900, {200, 250, 300, 375}},
    {"Кирпич сил.", "Brick sil.", 2600, {120, 250, 380, 510}},
    {"Кирпич обл.", "Brick tile", 2300, {65, 88, 120, 250}},
    {"Дерево", "Wood", 1800, {25, 40, 50, 150}},
    {"Кирпич керам.", "Brick clay", 2900, {120, 250, 380, 510}},
    {"Железобетон", "Reinf.concr.", 4300, {160, 200, 220, 300}},
    {"Керамзитобетон", "Claydite concr.", 2200, {190, 250, 300, 400}},
    {"Гипс", "Gypsum", 2300, {12.5f, 50, 80, 100}},
    {"Асфальтобетон", "Asphalt", 2500, {40, 50, 60, 100}},
    {"Шлакоблок", "Cinder block", 2100, {190, 200, 300, 390}},
    {"Гранит", "Granite", 5500, {20, 30, 40, 60}},
}};

// Deterministic pseudo-random numbers (xorshift32): the demo is the same every run.
class DemoRandom {
 public:
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  int Between(int low, int high) { return low + static_cast<int>(Next() % static_cast<std::uint32_t>(high - low + 1)); }

 private:
  std::uint32_t state_ = 0x2015'0421;
};

struct DemoDay {
  std::uint8_t day;
  std::uint8_t month;
  std::uint8_t year;
};

constexpr std::array<DemoDay, 6> kDemoDays{{{13, 4, 15}, {14, 4, 15}, {15, 4, 15}, {16, 4, 15}, {17, 4, 15}, {20, 4, 15}}};
constexpr std::size_t kDemoRecords = 300;

std::string Cp1251(const char* utf8) { return Utf8ToCp1251(utf8); }

std::string FormatThickness(float mm) {
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, mm, std::chars_format::fixed, 1);
  return std::string(text, result.ptr);
}

std::string TwoDigits(int value) {
  char text[3] = {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10), '\0'};
  return text;
}

}  // namespace

NameField MakeNameField(const std::string& name) {
  NameField field;
  field.fill(0xFF);
  const std::size_t length = std::min(name.size(), kMaxNameLength);
  field[0] = static_cast<std::uint8_t>(length);
  std::copy_n(name.begin(), length, field.begin() + 1);
  if (length < kMaxNameLength) field[length + 1] = 0;
  return field;
}

std::string NameOf(const NameField& field) {
  const std::size_t length = field[0];
  if (length == 0 || length > kMaxNameLength) return {};
  std::string name(field.begin() + 1, field.begin() + 1 + static_cast<std::ptrdiff_t>(length));
  const std::size_t zero = name.find('\0');
  if (zero != std::string::npos) name.resize(zero);
  return name;
}

void OccupyFirstSlots(GaugeModel& model) {
  model.occupied.reset();
  for (std::size_t i = 0; i < std::min(model.archive.size(), kArchiveSlots); ++i) model.occupied.set(i);
}

std::array<GaugeMaterial, kMaterialCount> DemoMaterials() {
  std::array<GaugeMaterial, kMaterialCount> materials{};
  for (std::size_t i = 0; i < kMaterialCount; ++i) {
    materials[i].russian = MakeNameField(Cp1251(kDemoMaterials[i].russian));
    materials[i].english = MakeNameField(Cp1251(kDemoMaterials[i].english));
    materials[i].speed = kDemoMaterials[i].speed;
    materials[i].number = static_cast<std::uint8_t>(i + 1);
  }
  return materials;
}

void DrawReadingScreen(GaugeModel& model, const ArchiveRecord& record) {
  model.screen.fill(0);
  DrawText(model.screen, 1, 1, "RZ-4.7");
  DrawText(model.screen, 97, 1, TwoDigits(record.hour) + ":" + TwoDigits(record.minute));
  DrawHorizontalLine(model.screen, 0, kScreenWidth - 1, 10);
  DrawText(model.screen, 1, 13, "S:" + std::to_string(record.series) + " N:" + std::to_string(record.number));
  const int end = DrawText(model.screen, 4, 25, FormatThickness(record.thickness), 2);
  DrawText(model.screen, end + 2, 32, "MM");
  DrawHorizontalLine(model.screen, 0, kScreenWidth - 1, 44);
  std::string name = record.material < kMaterialCount ? NameOf(model.materials[record.material].english) : "?";
  DrawText(model.screen, 1, 47, name);
  DrawText(model.screen, 1, 56, "V=" + std::to_string(record.speed) + " M/S");
}

GaugeModel MakeDemoGaugeModel() {
  GaugeModel model;
  model.firmwareDate = "21.04.2015";
  model.materials = DemoMaterials();
  DemoRandom random;
  std::uint8_t series = 1;
  const std::size_t perDay = kDemoRecords / kDemoDays.size();
  for (const DemoDay& day : kDemoDays) {
    int secondsOfDay = 9 * 3600 + random.Between(0, 1800);
    std::size_t todays = 0;
    while (todays < perDay) {
      // One series: one element of one material measured at several points.
      const auto material = static_cast<std::uint8_t>(random.Between(0, static_cast<int>(kMaterialCount) - 1));
      const DemoMaterial& demo = kDemoMaterials[material];
      const float nominal = demo.thicknesses[static_cast<std::size_t>(random.Between(0, 3))];
      const int points = std::min(random.Between(6, 14), static_cast<int>(perDay - todays));
      for (int n = 1; n <= points; ++n) {
        ArchiveRecord r;
        secondsOfDay += random.Between(15, 75);
        r.hour = static_cast<std::uint8_t>(secondsOfDay / 3600);
        r.minute = static_cast<std::uint8_t>(secondsOfDay / 60 % 60);
        r.second = static_cast<std::uint8_t>(secondsOfDay % 60);
        r.day = day.day;
        r.month = day.month;
        r.year = day.year;
        r.series = series;
        r.number = static_cast<std::uint8_t>(n);
        r.material = material;
        // Readings scatter by a few per cent around the element's thickness.
        const float scatter = static_cast<float>(random.Between(-30, 30)) / 1000.0f;
        r.thickness = static_cast<float>(static_cast<int>(nominal * (1.0f + scatter) * 10.0f + 0.5f)) / 10.0f;
        r.speed = demo.speed;
        model.archive.push_back(r);
      }
      todays += static_cast<std::size_t>(points);
      series = static_cast<std::uint8_t>(series == 255 ? 1 : series + 1);
      secondsOfDay += random.Between(600, 2400);
    }
  }
  // Records live in the gauge's slots with gaps where some were deleted on the gauge;
  // only the count of occupied slots tells how many there are.
  std::size_t slot = 0;
  for (std::size_t i = 0; i < model.archive.size(); ++i, ++slot) {
    if (i == model.archive.size() / 2) slot += 50;
    model.occupied.set(slot);
  }
  DrawReadingScreen(model, model.archive.back());
  return model;
}

}  // namespace rz47::sim
