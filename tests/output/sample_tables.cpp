#include "sample_tables.h"

#include <array>
#include <cstdio>

#include "platform/cp1251.h"
#include "table/columns.h"

namespace rz47::testing {
namespace {

struct Material {
  const char* ru;
  const char* en;
  int speed;
};

constexpr std::array<Material, 5> kMaterials{{
    {"Бетон", "Concrete", 4200},
    {"Кирпич", "Brick", 3500},
    {"Газобетон", "Aerated concrete", 2100},
    {"Дерево", "Wood", 1500},
    {"Пенобетон", "Foam concrete", 1900},
}};

}  // namespace

std::string Cp(const char* utf8) { return Utf8ToCp1251(utf8); }

GridData MakeMeasurementGrid(int dataRows, int lang) {
  GridData grid(kStandardColCount, dataRows + 1);
  WriteHeadings(grid, lang);
  char buf[32];
  for (int i = 0; i < dataRows; ++i) {
    const Material& m = kMaterials[i % kMaterials.size()];
    const int seconds = (i * 37) % 86400;
    std::string number = std::to_string(i + 1);
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    std::string time = buf;
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", 1 + i % 28, 1 + i / 28 % 12, 2014 + i / 336 % 10);
    std::string date = buf;
    std::string series = std::to_string(1 + i / 100);
    std::string measurement = std::to_string(1 + i % 100);
    std::string material = Cp(lang == 0 ? m.ru : m.en);
    std::snprintf(buf, sizeof buf, "%d,%02d", 20 + i % 400, i * 7 % 100);
    std::string thickness = buf;
    std::string speed = std::to_string(m.speed + i % 50);
    grid.SetRow(i + 1, {number, time, date, series, measurement, material, thickness, speed});
  }
  return grid;
}

}  // namespace rz47::testing
