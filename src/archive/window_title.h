// The main window's document state (archive folder and name, named and modified
// flags) and the window title rule: product name, then " - " and the archive name if
// named, then "*" if modified. UI thread only.
#pragma once

#include <string>

namespace rz47 {

struct DocumentState {
  std::string archiveFolder;  // Windows-1251, no trailing separator
  std::string archiveName;    // Windows-1251, extension included
  bool named = false;
  bool modified = false;
  friend bool operator==(const DocumentState&, const DocumentState&) = default;
};

// Windows-1251 title in language `lang`.
std::string ComposeWindowTitle(const DocumentState& state, int lang);

}  // namespace rz47
