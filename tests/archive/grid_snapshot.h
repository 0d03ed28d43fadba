// Everything a table shows, copied out so tests can compare "before" and "after".
#pragma once

#include <string>
#include <vector>

#include "table/grid_data.h"

namespace rz47::test {

struct Snapshot {
  int cols = 0;
  int rows = 0;
  std::vector<std::vector<std::string>> cells;  // [row][col]
  std::vector<int> widths;
  GridRect selection;

  Snapshot() = default;
  explicit Snapshot(const GridData& grid) : cols(grid.ColCount()), rows(grid.RowCount()), selection(grid.Selection()) {
    for (int row = 0; row < rows; ++row) {
      auto& line = cells.emplace_back();
      for (int col = 0; col < cols; ++col) line.emplace_back(grid.Cell(col, row));
    }
    for (int col = 0; col < cols; ++col) widths.push_back(grid.ColWidth(col));
  }
  // The data rows only (row 1 on).
  std::vector<std::vector<std::string>> DataRows() const { return {cells.begin() + 1, cells.end()}; }
  friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

}  // namespace rz47::test
