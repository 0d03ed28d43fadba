// Spreadsheet export: writes the whole table into a new workbook file, one sheet
// per kRowsPerSheet rows (see workbook_layout.h). The format follows the file name:
// a name ending in ".xls" (any case) gets a BIFF8 workbook, any other name an
// Office Open XML (.xlsx) workbook. Every cell is written as a string equal to the
// table's text, converted from Windows-1251 to Unicode; nothing is trimmed or
// converted to numbers.
//
// The file appears only when complete: it is written under a temporary name in the
// same folder and renamed over the target at the end. A failure or a cancel leaves
// the target as it was.
//
// The grid is only read, but it must not change while the export runs; the caller
// keeps it still (the GUI blocks input with a modal progress window). Any thread.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "table/grid_data.h"

namespace rz47 {

enum class WorkbookFormat { Xlsx, Xls };

// ".xls" at the end of the name, in any case, picks BIFF8; everything else xlsx.
WorkbookFormat WorkbookFormatFor(const std::filesystem::path& file);

// Called now and then with the work done so far (0..1000); return false to cancel.
using ExportProgress = std::function<bool(int permille)>;

enum class ExportStatus { Ok, Failed, Cancelled };

struct ExportResult {
  ExportStatus status = ExportStatus::Ok;
  std::string detail;  // UTF-8, for logs and the CLI; empty on success
};

ExportResult ExportWorkbook(const GridData& grid, std::string_view sheetPrefixCp1251,
                            const std::filesystem::path& file, const ExportProgress& progress = {});

}  // namespace rz47
