// The .xlsx writer: libxlsxwriter in constant-memory mode, so a sheet's rows go to
// a temporary file as they are written and memory stays flat for any table size.
// Rows must therefore be written strictly in order, and the widths are fitted in a
// pass of their own before a sheet's first row.
#include <xlsxwriter.h>

#include <array>
#include <memory>

#include "output/export_steps.h"
#include "platform/cp1251.h"

namespace rz47 {
namespace {

// UTF-8 of every Windows-1251 byte, built once.
struct Utf8Table {
  std::array<std::array<char, 4>, 256> bytes{};
  std::array<unsigned char, 256> length{};
  Utf8Table() {
    for (int i = 0; i < 256; ++i) {
      std::string utf8 = Cp1251ToUtf8(std::string(1, static_cast<char>(i)));
      length[i] = static_cast<unsigned char>(utf8.size());
      std::copy(utf8.begin(), utf8.end(), bytes[i].begin());
    }
  }
  void Convert(std::string_view cp1251, std::string& out) const {
    out.clear();
    for (char c : cp1251) {
      const auto b = static_cast<unsigned char>(c);
      out.append(bytes[b].data(), length[b]);
    }
  }
};

// An abandoned workbook is freed without being assembled: its temporary file is
// thrown away anyway, and assembling a large one would take seconds.
struct WorkbookFree {
  void operator()(lxw_workbook* wb) const { lxw_workbook_free(wb); }
};

ExportResult Failure(const std::filesystem::path& file, const std::string& what) {
  return {ExportStatus::Failed, file.string() + ": " + what};
}

}  // namespace

ExportResult WriteXlsxWorkbook(const GridData& grid, const std::vector<SheetPlan>& sheets,
                               const std::filesystem::path& file, ProgressTicker& ticker) {
  static const Utf8Table utf8;
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  std::unique_ptr<lxw_workbook, WorkbookFree> workbook(workbook_new_opt(file.c_str(), &options));
  if (!workbook) return Failure(file, "cannot start the workbook");

  lxw_format* centred = workbook_add_format(workbook.get());
  format_set_align(centred, LXW_ALIGN_CENTER);

  const int blockCols = grid.ColCount() + 1;
  std::string text;
  for (const SheetPlan& sheet : sheets) {
    utf8.Convert(sheet.name, text);
    lxw_worksheet* ws = workbook_add_worksheet(workbook.get(), text.c_str());
    if (ws == nullptr) return Failure(file, "bad sheet name");

    // Widths and the centred format go on whole columns, so the block's empty
    // last column and last row are fitted and centred too.
    const std::vector<double> widths = FitSheetColumns(grid, sheet, blockCols);
    if (!ticker.Step(sheet.rowCount)) return {ExportStatus::Cancelled, {}};
    for (int c = 0; c < blockCols; ++c) {
      lxw_error err = worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                           widths[c], centred);
      if (err != LXW_NO_ERROR) return Failure(file, lxw_strerror(err));
    }

    for (int i = 0; i < sheet.rowCount; ++i) {
      const int row = sheet.firstRow + i;
      for (int c = 0; c < grid.ColCount(); ++c) {
        std::string_view cell = grid.Cell(c, row);
        if (cell.empty()) continue;  // an empty text is an empty cell
        utf8.Convert(cell, text);
        lxw_error err = worksheet_write_string(ws, static_cast<lxw_row_t>(i), static_cast<lxw_col_t>(c),
                                               text.c_str(), centred);
        if (err != LXW_NO_ERROR) return Failure(file, lxw_strerror(err));
      }
      if (!ticker.Step()) return {ExportStatus::Cancelled, {}};
    }
  }

  lxw_error err = workbook_close(workbook.release());
  if (err != LXW_NO_ERROR) return Failure(file, lxw_strerror(err));
  return {};
}

}  // namespace rz47
