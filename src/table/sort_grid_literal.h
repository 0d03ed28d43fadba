// The table sort written step by step as the classic program did it: one entry per
// row holding every kind of key, a list of entry references ordered by a recursive
// quicksort, then the rows exchanged one by one after a linear search for each row's
// current position (quadratic in the row count).
//
// It is the yardstick for SortGrid: tests compare their results row by row on random
// tables and the benchmark measures both. Not used by the program.
#pragma once

#include "table/grid_data.h"

namespace rz47 {

struct FormatSettings;
class TextCollator;

void SortGridByRowSearch(GridData& grid, int column, int direction, const FormatSettings& settings,
                         const TextCollator& collator);

}  // namespace rz47
