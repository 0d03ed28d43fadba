// The measurement table's interaction rules, free of any UI: what a heading click does
// to the sort direction, what a released left button means at a cell, when the
// row's popup menu may open, how deleting a row changes the grid and the window's
// flags, which status hint a position gets, and which copy Ctrl+C starts. The main
// window calls these with the cell under the pointer. UI thread.
#pragma once

#include <string>
#include <string_view>

#include "table/grid_data.h"

namespace rz47 {

// Heading click: 0 or 1 becomes -1 (descending), anything else becomes 1. The first
// heading click after start therefore sorts descending.
int ToggleSortDirection(int direction);

// What a left-button release at grid cell (col, row) means; (-1, -1) is no cell.
enum class MouseUpCase {
  Heading,    // the fixed heading row: sort by that column
  RowNumber,  // the fixed row-number column below the headings: select the whole row
  NoCell,     // beside or below the cells: clear the selection
  Other,      // a data cell: the grid's own click or drag selection stands
};
MouseUpCase ClassifyMouseUp(int col, int row);

// The selection of a whole row: columns 0..last, that row only.
GridRect WholeRowSelection(const GridData& grid, int row);

// A right press at (col, row) opens the row's popup menu only on a row number, when
// the selection starts at column 0 on that very row (the row was just selected by a
// click on its number) and the table holds data.
bool PopupMenuOpens(const GridData& grid, int col, int row);

// Removes the selection's top row (only that row, however many the selection spans):
// later rows shift up with their record numbers unchanged, so a gap is left in the
// numbering. The last data row is never dropped: with one data row, it is emptied
// and the table counts as empty. A selection outside the data rows removes nothing
// (false). The selection is kept, pulled back inside the table if it fell off the end.
bool DeleteSelectedRow(GridData& grid);

// The window's flags and title after a row was deleted: the document counts as named
// (even while it has no name yet) and modified, and "*" is appended to the current
// title unless the document was already modified.
struct RowDeletionEffect {
  bool named = true;
  bool modified = true;
  std::string title;  // Windows-1251
};
RowDeletionEffect AfterRowDeletion(bool wasModified, std::string_view currentTitle);

// The status hint for the pointer over grid cell (col, row): the sort hint over the
// heading row, the selection hint everywhere else (no cell included).
enum class StatusHint { Sort, Select };
StatusHint HintAt(int row);

// Virtual-key codes, the numbering the Ctrl+C rule is written in.
constexpr int kVkC = 0x43;
constexpr int kVkNumpad3 = 0x63;

// Ctrl+C: the key code with bit 0x20 cleared is the C key and Ctrl is held; Shift and
// Alt are not looked at, so Ctrl+Shift+C and Ctrl with the keypad's 3 count too.
bool IsCopyKey(int virtualKey, bool ctrlHeld);

// Ctrl+C copies the whole table when the selection is a single cell (a cleared
// selection counts as one), the selected block otherwise.
enum class CopyScope { WholeTable, Block };
CopyScope CopyScopeFor(const GridRect& selection);

}  // namespace rz47
