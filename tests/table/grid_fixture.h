// Small grids for the table tests, written in UTF-8 and stored as the program stores
// them (Windows-1251).
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "table/columns.h"
#include "table/grid_data.h"

namespace rz47::test {

using Row = std::vector<std::string>;  // UTF-8 cells from column 0

// A grid with the headings of `lang` in row 0 and `rows` below it.
inline GridData MakeGrid(const std::vector<Row>& rows, int lang = 0, int colCount = kStandardColCount) {
  GridData grid(colCount, static_cast<int>(rows.size()) + 1);
  WriteHeadings(grid, lang);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      grid.SetCell(static_cast<int>(c), static_cast<int>(r) + 1, Utf8ToCp1251(rows[r][c]));
    }
  }
  return grid;
}

// One column's data cells (rows 1..last) in UTF-8.
inline std::vector<std::string> ColumnOf(const GridData& grid, int col) {
  std::vector<std::string> cells;
  for (int r = 1; r < grid.RowCount(); ++r) cells.push_back(Cp1251ToUtf8(grid.Cell(col, r)));
  return cells;
}

// Every cell, row by row, for whole-grid comparisons.
inline std::vector<Row> AllCells(const GridData& grid) {
  std::vector<Row> rows;
  for (int r = 0; r < grid.RowCount(); ++r) {
    Row row;
    for (int c = 0; c < grid.ColCount(); ++c) row.push_back(Cp1251ToUtf8(grid.Cell(c, r)));
    rows.push_back(row);
  }
  return rows;
}

}  // namespace rz47::test
