#include "output/export_dialog_state.h"

namespace rz47 {

const char* ExtensionForType(int type) { return type == 2 ? ".xlsx" : ".xls"; }

std::optional<std::string> NameAfterTypeChange(const std::string& shownPath, int type) {
  const std::string extension = ExtensionForType(type);
  if (shownPath.find(extension) != std::string::npos) return std::nullopt;
  return shownPath + extension;
}

void ExportDialogState::TypeChanged(const std::string& shownPath, int newType) {
  if (auto name = NameAfterTypeChange(shownPath, newType)) fileName = *name;
}

void ExportDialogState::Confirmed(const std::string& path, int confirmedType) {
  fileName = path;
  type = confirmedType;
}

}  // namespace rz47
