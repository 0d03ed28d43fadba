// A measurement table as years of merged gauge reads leave it: record numbers,
// times, dates, series, numbers, Russian material names, thicknesses, speeds.
#pragma once

#include <string>

#include "platform/cp1251.h"
#include "table/columns.h"
#include "table/grid_data.h"

namespace rz47::bench {

inline void FillRealisticTable(GridData& grid, int rows) {
  static const char* const kMaterials[] = {"Бетон", "Кирпич", "Газобетон", "Пенобетон", "Дерево", "Гипс"};
  std::string materials[6];
  for (int i = 0; i < 6; ++i) materials[i] = Utf8ToCp1251(kMaterials[i]);
  grid.BeginUpdate();
  grid.SetColCount(kStandardColCount);
  grid.SetRowCount(rows + 1);
  WriteHeadings(grid, 0);
  char time[9], date[11], thickness[16];
  for (int row = 1; row <= rows; ++row) {
    const int seconds = (row * 37) % 86400;
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    std::snprintf(date, sizeof date, "%02d.%02d.%04d", 1 + row % 28, 1 + row / 28 % 12, 2014 + row / 336 % 12);
    std::snprintf(thickness, sizeof thickness, "%d,%02d", 20 + row % 480, row % 100);
    const std::string number = std::to_string(row);
    const std::string series = std::to_string(1 + row / 100 % 999);
    const std::string inSeries = std::to_string(1 + row % 100);
    const std::string speed = std::to_string(900 + row * 7 % 4000);
    grid.SetRow(row, {number, time, date, series, inSeries, materials[row % 6], thickness, speed});
  }
  grid.EndUpdate();
}

}  // namespace rz47::bench
