#include "table/table_rules.h"

#include <algorithm>

namespace rz47 {

int ToggleSortDirection(int direction) { return direction == 0 || direction == 1 ? -1 : 1; }

MouseUpCase ClassifyMouseUp(int col, int row) {
  if (row >= 0 && row < GridData::FixedRows() && col >= 0) return MouseUpCase::Heading;
  if (col >= 0 && col < GridData::FixedCols() && row >= GridData::FixedRows()) return MouseUpCase::RowNumber;
  if (col < 0 && row < 0) return MouseUpCase::NoCell;
  return MouseUpCase::Other;
}

GridRect WholeRowSelection(const GridData& grid, int row) { return {0, row, grid.ColCount() - 1, row}; }

bool PopupMenuOpens(const GridData& grid, int col, int row) {
  const GridRect selection = grid.Selection();
  return col == 0 && selection.left == 0 && selection.top == row && !grid.IsEmpty();
}

bool DeleteSelectedRow(GridData& grid) {
  const int top = grid.Selection().top;
  if (top < GridData::FixedRows() || top >= grid.RowCount()) return false;
  if (grid.RowCount() > GridData::FixedRows() + 1) {
    grid.RemoveRow(top);
  } else {
    grid.SetRow(top, {});
  }
  GridRect selection = grid.Selection();
  const int last = grid.RowCount() - 1;
  if (selection.bottom > last) {
    selection.bottom = last;
    selection.top = std::min(selection.top, last);
    grid.SetSelection(selection);
  }
  return true;
}

RowDeletionEffect AfterRowDeletion(bool wasModified, std::string_view currentTitle) {
  RowDeletionEffect effect;
  effect.title = std::string(currentTitle);
  if (!wasModified) effect.title += '*';
  return effect;
}

StatusHint HintAt(int row) { return row == 0 ? StatusHint::Sort : StatusHint::Select; }

bool IsCopyKey(int virtualKey, bool ctrlHeld) { return (virtualKey & ~0x20) == kVkC && ctrlHeld; }

CopyScope CopyScopeFor(const GridRect& selection) {
  const bool singleCell = selection.top == selection.bottom && selection.left == selection.right;
  return singleCell ? CopyScope::WholeTable : CopyScope::Block;
}

}  // namespace rz47
