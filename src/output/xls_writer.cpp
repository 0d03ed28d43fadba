// The .xls writer: a BIFF8 workbook stream in a compound document container.
//
// Workbook stream:
//   globals: BOF, CODEPAGE, WINDOW1, FONT x4, XF x17, STYLE, BOUNDSHEET per sheet,
//            SST (+ CONTINUE), EXTSST, EOF
//   per sheet: BOF, DEFCOLWIDTH, COLINFO per block column, DIMENSIONS,
//            LABELSST per non-empty cell (row by row), WINDOW2, EOF
//
// Two passes over the table: the first fits the widths and collects the shared
// strings (whose table sits in the globals, in front of every sheet, and fixes the
// sheets' offsets) and notes each cell's string index; the second streams the cells
// straight into the container. Held in memory: the distinct texts' index and one
// 4-byte index per cell.
#include <algorithm>
#include <new>
#include <stdexcept>

#include "output/biff8_records.h"
#include "output/biff8_sst.h"
#include "output/cfb_writer.h"
#include "output/export_steps.h"

namespace rz47 {
namespace {

using namespace biff8;

struct SheetParts {
  std::string head;  // BOF to DIMENSIONS
  std::string tail;  // WINDOW2, EOF
  std::uint64_t cellCount = 0;
  std::uint64_t Size() const { return head.size() + cellCount * kLabelSstSize + tail.size(); }
};

// Used rows and columns of a sheet, relative to the sheet.
struct UsedRange {
  int firstRow = -1, lastRow = -1, firstCol = -1, lastCol = -1;
  void Add(int row, int col) {
    if (firstRow < 0) firstRow = row;
    lastRow = row;
    firstCol = firstCol < 0 ? col : std::min(firstCol, col);
    lastCol = std::max(lastCol, col);
  }
};

ExportResult Failure(const std::filesystem::path& file, const std::string& what) {
  return {ExportStatus::Failed, file.string() + ": " + what};
}

ExportResult Write(const GridData& grid, const std::vector<SheetPlan>& sheets, const std::filesystem::path& file,
                   ProgressTicker& ticker) {
  const int blockCols = grid.ColCount() + 1;
  if (blockCols > kMaxCols) return Failure(file, "too many columns for an .xls workbook");

  // Pass 1: widths, used ranges and the shared strings.
  SharedStrings strings;
  strings.Reserve(2 * static_cast<std::size_t>(grid.RowCount()) + 1024);
  std::vector<std::uint32_t> cellStrings;  // string index of every non-empty cell, in order
  cellStrings.reserve(static_cast<std::size_t>(grid.RowCount()) * grid.ColCount());
  std::vector<SheetParts> parts(sheets.size());
  for (std::size_t s = 0; s < sheets.size(); ++s) {
    const SheetPlan& sheet = sheets[s];
    UsedRange used;
    for (int i = 0; i < sheet.rowCount; ++i) {
      for (int c = 0; c < grid.ColCount(); ++c) {
        std::string_view cell = grid.Cell(c, sheet.firstRow + i);
        if (cell.empty()) continue;
        cellStrings.push_back(strings.Add(cell));
        used.Add(i, c);
        ++parts[s].cellCount;
      }
      if (!ticker.Step()) return {ExportStatus::Cancelled, {}};
    }
    const std::vector<double> widths = FitSheetColumns(grid, sheet, blockCols);
    SheetParts& p = parts[s];
    PutBof(p.head, SubstreamKind::Worksheet);
    PutDefColWidth(p.head);
    for (int c = 0; c < blockCols; ++c) PutColInfo(p.head, c, widths[c], kCentredCellXf);
    if (used.firstRow < 0) {
      PutDimensions(p.head, 0, 0, 0, 0);
    } else {
      PutDimensions(p.head, used.firstRow, used.lastRow + 1, used.firstCol, used.lastCol + 1);
    }
    PutWindow2(p.tail, s == 0);
    PutEof(p.tail);
  }

  // Globals, with the sheets' offsets known from their sizes.
  std::string globalsHead;
  PutBof(globalsHead, SubstreamKind::Globals);
  PutGlobalsHead(globalsHead);
  std::uint64_t sheetListSize = 0;
  for (const SheetPlan& sheet : sheets) {
    std::string probe;
    PutBoundSheet(probe, 0, sheet.name);
    sheetListSize += probe.size();
  }
  const std::uint64_t sstOffset = globalsHead.size() + sheetListSize;
  if (sstOffset > CompoundFileWriter::kMaxStreamSize) return Failure(file, "workbook too large");
  const std::string sst = strings.Serialise(static_cast<std::uint32_t>(sstOffset));
  std::string eof;
  PutEof(eof);
  std::uint64_t offset = sstOffset + sst.size() + eof.size();
  std::string sheetList;
  for (std::size_t s = 0; s < sheets.size(); ++s) {
    if (offset > CompoundFileWriter::kMaxStreamSize) return Failure(file, "workbook too large");
    PutBoundSheet(sheetList, static_cast<std::uint32_t>(offset), sheets[s].name);
    offset += parts[s].Size();
  }

  CompoundFileWriter container(file, "Workbook", offset);
  container.Write(globalsHead);
  container.Write(sheetList);
  container.Write(sst);
  container.Write(eof);
  if (!container.Ok()) return Failure(file, container.Error());

  // Pass 2: the cells.
  std::string chunk;
  auto nextString = cellStrings.cbegin();
  for (std::size_t s = 0; s < sheets.size(); ++s) {
    const SheetPlan& sheet = sheets[s];
    container.Write(parts[s].head);
    for (int i = 0; i < sheet.rowCount; ++i) {
      for (int c = 0; c < grid.ColCount(); ++c) {
        std::string_view cell = grid.Cell(c, sheet.firstRow + i);
        if (!cell.empty()) PutLabelSst(chunk, i, c, kCentredCellXf, *nextString++);
      }
      if (chunk.size() >= (1 << 16)) {
        container.Write(chunk);
        chunk.clear();
      }
      if (!ticker.Step()) return {ExportStatus::Cancelled, {}};
    }
    container.Write(chunk);
    chunk.clear();
    container.Write(parts[s].tail);
    if (!container.Ok()) return Failure(file, container.Error());
  }
  if (!container.Finish()) return Failure(file, container.Error());
  return {};
}

}  // namespace

ExportResult WriteXlsWorkbook(const GridData& grid, const std::vector<SheetPlan>& sheets,
                              const std::filesystem::path& file, ProgressTicker& ticker) {
  try {
    return Write(grid, sheets, file, ticker);
  } catch (const std::length_error& e) {
    return Failure(file, e.what());
  } catch (const std::bad_alloc&) {
    return Failure(file, "out of memory");
  }
}

}  // namespace rz47
