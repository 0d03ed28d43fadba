// Sorting the measurement table by one column (a click on its heading).
//
// Each column is compared as the kind of value it holds (table/columns.h): 32-bit
// integers, real numbers, times of day, dates with the time of column 1, or text in
// the collation of the user's locale. Rows move whole, record number included. The
// order is exactly the one the table's classic quicksort leaves (it is not stable:
// rows with equal keys may change places); it is carried out as one permutation, so
// a million rows sort in well under a second.
//
// All keys are read before anything moves: a cell that cannot be read as its
// column's key throws EConvertError (message naming the text) and the table is left
// as it was. Also on failure, the heading row, the selection and the counts are
// never changed. UI thread (or whoever owns the grid).
#pragma once

#include "table/grid_data.h"

namespace rz47 {

struct FormatSettings;
class TextCollator;

// `direction` 1 sorts ascending, any other non-zero value descending, 0 does nothing.
// Times, dates and decimals are read with CurrentFormatSettings(), text columns
// collate in the environment's locale. A column outside the table throws
// std::out_of_range.
void SortGrid(GridData& grid, int column, int direction);
// The same with explicit regional settings and collator.
void SortGrid(GridData& grid, int column, int direction, const FormatSettings& settings,
              const TextCollator& collator);

}  // namespace rz47
