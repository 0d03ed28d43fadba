// Measurement tables for the output tests, the benchmarks and the demo report:
// rows as the gauge's archive read fills them (record number, time, date, series,
// number, material, thickness, speed), deterministic for a given row count.
#pragma once

#include <string>

#include "table/grid_data.h"

namespace rz47::testing {

// `dataRows` measurement rows under the heading row of language `lang`; material
// names in that language; thickness with a decimal comma.
GridData MakeMeasurementGrid(int dataRows, int lang = 0);

// UTF-8 to the table's Windows-1251.
std::string Cp(const char* utf8);

}  // namespace rz47::testing
