#include "table/columns.h"

namespace rz47 {

ColumnKind KindOfColumn(int col) {
  return col >= 0 && col < kStandardColCount ? kColumns[col].kind : ColumnKind::Text;
}

void WriteHeadings(GridData& grid, int lang) {
  for (int col = 0; col < grid.ColCount(); ++col) {
    grid.SetCell(col, 0, col < kStandardColCount ? Text(kColumns[col].heading, lang) : std::string());
  }
}

void ApplyStandardWidths(GridData& grid) {
  for (int col = 0; col < grid.ColCount(); ++col) {
    grid.SetColWidth(col, col < kStandardColCount ? kColumns[col].width : kDefaultColWidth);
  }
}

}  // namespace rz47
