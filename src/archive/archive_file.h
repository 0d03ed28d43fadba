// The ".rz4" archive file: the measurement table's data cells as length-prefixed
// texts, nothing else.
//
//   offset 0   int32 LE  NC   column count, row-number column included
//   offset 4   int32 LE  NR   row count, heading row included (never stored)
//   offset 8   (NR - 1) x NC cell records in row order, rows 1..NR-1, columns 0..NC-1:
//                int32 LE  L  text length,  then L bytes of Windows-1251 text
//
// No signature, version or checksum; the file ends after the last cell record.
// Saving is atomic (platform/atomic_file.h). Loading validates the whole file first
// and touches the grid only when it is sound: a bad file leaves the grid as it was.
// The heading row is not part of the file; the caller writes it in the current
// language after a load. UI thread (the grid's owner).
#pragma once

#include <string>
#include <string_view>

#include "platform/atomic_file.h"
#include "table/grid_data.h"

namespace rz47 {

// The file's bytes for the grid's current column and row counts and data cells.
std::string EncodeGrid(const GridData& grid);
// Checks `bytes` as an archive and, when sound, makes the grid hold exactly its
// columns and data rows (row 0 keeps its cells). A cell's text ends at its first zero
// byte. Columns added get the default width. The message names `source`.
FileResult DecodeGrid(std::string_view bytes, GridData& grid, const std::string& source);

FileResult SaveGridToFile(const GridData& grid, const std::string& path);
FileResult LoadGridFromFile(GridData& grid, const std::string& path);

}  // namespace rz47
