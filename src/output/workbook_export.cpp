#include "output/workbook_export.h"

#include <algorithm>
#include <cctype>

#include "output/export_steps.h"
#include "output/replacing_file.h"

namespace rz47 {

ProgressTicker::ProgressTicker(const ExportProgress& progress, std::int64_t totalUnits)
    : progress_(progress), total_(std::max<std::int64_t>(totalUnits, 1)) {}

bool ProgressTicker::Step(std::int64_t units) {
  if (cancelled_) return false;
  done_ = std::min(done_ + units, total_);
  const int permille = static_cast<int>(done_ * 1000 / total_);
  if (permille != lastPermille_) {
    lastPermille_ = permille;
    if (progress_ && !progress_(permille)) cancelled_ = true;
  }
  return !cancelled_;
}

WorkbookFormat WorkbookFormatFor(const std::filesystem::path& file) {
  std::string name = file.filename().string();
  if (name.size() < 4) return WorkbookFormat::Xlsx;
  std::string tail = name.substr(name.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == ".xls" ? WorkbookFormat::Xls : WorkbookFormat::Xlsx;
}

ExportResult ExportWorkbook(const GridData& grid, std::string_view sheetPrefixCp1251,
                            const std::filesystem::path& file, const ExportProgress& progress) {
  ReplacingFile out(file);
  if (!out.Ok()) return {ExportStatus::Failed, file.string() + ": " + out.Error()};
  const std::vector<SheetPlan> sheets = PlanSheets(grid.RowCount(), sheetPrefixCp1251);
  // Each writer reads every row twice (fit the widths, then write).
  ProgressTicker ticker(progress, 2 * static_cast<std::int64_t>(grid.RowCount()) + 1);
  ExportResult result = WorkbookFormatFor(file) == WorkbookFormat::Xls
                            ? WriteXlsWorkbook(grid, sheets, out.TempPath(), ticker)
                            : WriteXlsxWorkbook(grid, sheets, out.TempPath(), ticker);
  if (result.status != ExportStatus::Ok) return result;
  if (!out.Commit()) return {ExportStatus::Failed, file.string() + ": " + out.Error()};
  ticker.Step();
  return result;
}

}  // namespace rz47
