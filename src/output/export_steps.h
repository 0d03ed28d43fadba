// What the two workbook writers share: the progress ticker and their entry points.
// Internal to the export; see workbook_export.h for the contract.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "output/workbook_export.h"
#include "output/workbook_layout.h"

namespace rz47 {

// Turns units of work into permille calls, at most one per permille step, and
// remembers a cancel so every later Step() keeps returning false.
class ProgressTicker {
 public:
  ProgressTicker(const ExportProgress& progress, std::int64_t totalUnits);
  // Adds `units` of done work; false once the user has cancelled.
  bool Step(std::int64_t units = 1);
  bool Cancelled() const { return cancelled_; }

 private:
  const ExportProgress& progress_;
  std::int64_t total_;
  std::int64_t done_ = 0;
  int lastPermille_ = -1;
  bool cancelled_ = false;
};

// Write the workbook to `file` (the temporary file, which exists and is empty).
ExportResult WriteXlsxWorkbook(const GridData& grid, const std::vector<SheetPlan>& sheets,
                               const std::filesystem::path& file, ProgressTicker& ticker);
ExportResult WriteXlsWorkbook(const GridData& grid, const std::vector<SheetPlan>& sheets,
                              const std::filesystem::path& file, ProgressTicker& ticker);

}  // namespace rz47
