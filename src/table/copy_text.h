// The clipboard texts of the measurement table: the whole table with its heading row,
// or a block of cells. Cells are followed by a TAB, plus alignment TABs that line the
// columns up on 8-character tab stops in an editor; each line loses its last
// character and ends with CR LF. Texts stay Windows-1251 here; the form converts
// them for the clipboard. UI-free; UI thread (the grid's owner).
#pragma once

#include <optional>
#include <string>

#include "table/grid_data.h"

namespace rz47 {

// Whole table, rows 0..last. In the heading row, a cell equal to the time or the date
// heading of language `lang` gets one extra TAB; data cells get alignment TABs.
std::string BuildTableCopyText(const GridData& grid, int lang);
// The cells of `block` (inclusive, corners in any order), alignment TABs on every
// row, the heading length always taken from row 0. Cells outside the table read as
// empty, so a cleared selection gives one empty line. Block lines take no
// language-dependent TABs; `lang` keeps the two builders' calls alike.
std::string BuildBlockCopyText(const GridData& grid, const GridRect& block, int lang);

// The copy commands: the text for the clipboard, or nothing when no archive is loaded
// (ArchiveCount is 0), in which case the "table is empty" warning has been shown with
// ShowMessageBox in language `lang` and the clipboard must stay as it is.
std::optional<std::string> ACopyTableExecute(const GridData& grid, int lang);
// The same for the grid's selection.
std::optional<std::string> ACopyBlockTableExecute(const GridData& grid, int lang);

}  // namespace rz47
