// What the spreadsheet save dialog remembers between exports, and its file-type
// rule. The dialog offers three types, numbered from 1 as the filter lists them:
// 1 "Exel 2003" (*.xls), 2 "Exel 2007" (*.xlsx), 3 "All Files" (*.*).
//
// Remembered: the file name offered when the dialog opens ("Arhive.xlsx" at
// first; afterwards the name last confirmed, or the name the type-change rule
// stored while a cancelled dialog was open; empty after a successful export) and
// the selected type (1 at first; afterwards the type last confirmed).
// Paths are the dialog's own strings (UTF-8). UI thread; plain data.
#pragma once

#include <optional>
#include <string>

namespace rz47 {

inline constexpr const char* kExportFilter = "Exel 2003|*.xls|Exel 2007|*.xlsx|All Files|*.*";
inline constexpr int kExportTypeCount = 3;

// The extension a type stands for: 1 ".xls", 2 ".xlsx", anything else ".xls".
const char* ExtensionForType(int type);

// The type-change rule: the name to store after the user picked `type` while the
// dialog shows `shownPath`, or nothing when the path already contains the
// extension anywhere (a plain substring test, so "Arhive.xlsx" satisfies ".xls").
// The old extension is kept: "Arhive.xls" under type 2 becomes "Arhive.xls.xlsx".
std::optional<std::string> NameAfterTypeChange(const std::string& shownPath, int type);

struct ExportDialogState {
  std::string fileName = "Arhive.xlsx";
  int type = 1;

  // The user picked another type while the dialog was open.
  void TypeChanged(const std::string& shownPath, int newType);
  // The user confirmed `path` with `confirmedType` selected.
  void Confirmed(const std::string& path, int confirmedType);
  // The export succeeded: the next dialog opens without a name.
  void ExportSucceeded() { fileName.clear(); }
};

}  // namespace rz47
