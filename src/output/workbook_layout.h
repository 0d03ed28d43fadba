// The layout both workbook formats share: the table is cut into sheets of
// kRowsPerSheet rows, sheet k (from 1) named prefix + k; each sheet's block starts at
// A1, is kBlockRows high and one column wider than the table (that column and the
// block's last row stay empty but are fitted and centred with the rest).
// Column widths are fitted to the texts the way a spreadsheet's auto-fit does, in
// units of the default font's digit width.
// Pure functions; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "table/grid_data.h"

namespace rz47 {

inline constexpr int kRowsPerSheet = 65535;
inline constexpr int kBlockRows = 65536;
// Width a spreadsheet gives a column nobody has fitted, in digit widths.
inline constexpr double kDefaultSheetColumnWidth = 8.43;

struct SheetPlan {
  std::string name;   // Windows-1251
  int firstRow = 0;   // first table row on the sheet
  int rowCount = 0;   // table rows on the sheet (the block's other rows are empty)
};

// One plan per sheet, in workbook order; a table always gives at least one sheet.
std::vector<SheetPlan> PlanSheets(int tableRows, std::string_view prefixCp1251);

// Estimated display width of a Windows-1251 text in digit widths (narrow
// punctuation counts less, capitals and wide letters more).
double TextDisplayWidth(std::string_view cp1251);

// The fitted width of a column whose widest text measures `textWidth`; an empty
// column keeps the default width.
double FittedColumnWidth(double textWidth);

// Fitted widths of the `blockCols` columns of a sheet's block.
std::vector<double> FitSheetColumns(const GridData& grid, const SheetPlan& sheet, int blockCols);

}  // namespace rz47
